# Shell pieces shared by ./keplin, ./run-tests, bench/run and the window-test
# session: how Wine runs on this machine, a private X server for Wine when there
# is no display, and Wine prefixes of the project's own.
#
# Source this file from bash; it defines functions and sets no options.
# KEPLIN_ROOT is the repository root (the parent of this file's directory).
#
# Which build runs, and with which loader, is decided in one place here:
#   keplin_runs_32bit        true when this machine executes 32-bit x86 code
#                            (tried with a tiny i386 program, not read off names)
#   keplin_wine_runs ARCH    true when the Wine loader of ARCH (win32, win64) starts
#   keplin_wine_arches       the builds this machine can run, best first
#   keplin_wine_use [ARCH]   choose ARCH (default: KEPLIN_WINE_ARCH from the
#                            environment, else win32 where its loader starts, else
#                            win64) and export WINELOADER and KEPLIN_WINE_ARCH
#   keplin_wine_describe     one line: which build and which loader
#   keplin_wine, keplin_wineboot, keplin_winepath, keplin_reg
#                            run Wine, wineboot, winepath, reg with that loader
#                            (Debian's wine, wineboot and winepath pick the
#                            32-bit loader whenever it is installed, even where
#                            it cannot run)
#
#   keplin_xvfb_start        start Xvfb on a free display :50..:99, export DISPLAY
#   keplin_xvfb_stop         stop that Xvfb (by its PID), if one was started
#   keplin_wine_env PREFIX   export WINEPREFIX and the quiet Wine settings
#   keplin_wine_prefix PREFIX
#                            as keplin_wine_env, and initialise the prefix
#                            (wineboot -i) when it is new
#   keplin_wine_wait         wait (bounded) until the prefix's Wine processes end
#   keplin_wine_end          end every Wine process of a prefix that is the
#                            calling script's alone (tests, benchmark)
#   keplin_build ARCH TARGET...
#                            configure build/ARCH if needed and build TARGETs
#
# Messages go to stderr, prefixed with $KEPLIN_LOG_TAG (default: the script's name).

KEPLIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KEPLIN_XVFB_PID=""
KEPLIN_WINE32=/usr/lib/wine/wine
KEPLIN_WINE64=/usr/lib/wine/wine64

keplin_log() {
  printf '%s: %s\n' "${KEPLIN_LOG_TAG:-$(basename "$0")}" "$*" >&2
}

# True when the kernel executes 32-bit x86 programs. Tried with the smallest
# static i386 program that exits with 0 (ELF header, one segment, and
# "mov eax,1; xor ebx,ebx; int 0x80"), so it works before Wine is installed.
keplin_runs_32bit() {
  local probe status
  probe=$(mktemp "${TMPDIR:-/tmp}/keplin-i386-probe.XXXXXX") || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'\
'\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00'\
'\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod 700 "$probe"
  "$probe" >/dev/null 2>&1
  status=$?
  rm -f "$probe"
  return "$status"
}

# True when the Wine loader of ARCH (win32 or win64) starts on this machine.
keplin_wine_runs() {
  local loader
  case $1 in
    win32) loader=$KEPLIN_WINE32 ;;
    win64) loader=$KEPLIN_WINE64 ;;
    *) return 1 ;;
  esac
  [[ -x $loader ]] && "$loader" --version >/dev/null 2>&1
}

# The builds this machine can run under Wine, the 32-bit one first.
keplin_wine_arches() {
  local arch
  for arch in win32 win64; do
    keplin_wine_runs "$arch" && printf '%s\n' "$arch"
  done
  return 0
}

# Chooses the build and its loader: ARCH, else KEPLIN_WINE_ARCH from the
# environment, else the 32-bit build where its loader starts and the 64-bit
# one elsewhere. Exports WINELOADER (Wine starts its helper programs with it).
keplin_wine_use() {
  local arch=${1:-${KEPLIN_WINE_ARCH:-}}
  if [[ -z $arch ]]; then
    if keplin_wine_runs win32; then arch=win32; else arch=win64; fi
  fi
  case $arch in
    win32) KEPLIN_WINE_LOADER=$KEPLIN_WINE32 ;;
    win64) KEPLIN_WINE_LOADER=$KEPLIN_WINE64 ;;
    *) keplin_log "unknown build '$arch' (win32 or win64)"; return 1 ;;
  esac
  if ! keplin_wine_runs "$arch"; then
    keplin_log "the Wine loader $KEPLIN_WINE_LOADER does not run on this machine"
    return 1
  fi
  export KEPLIN_WINE_ARCH=$arch
  export KEPLIN_WINE_LOADER
  export WINELOADER=$KEPLIN_WINE_LOADER
}

keplin_wine_describe() {
  local bits=32
  [[ $KEPLIN_WINE_ARCH == win64 ]] && bits=64
  printf 'build/%s (%s-bit keplin.exe) with the %s-bit Wine loader %s\n' \
    "$KEPLIN_WINE_ARCH" "$bits" "$bits" "$KEPLIN_WINE_LOADER"
}

keplin_wine() { "$KEPLIN_WINE_LOADER" "$@"; }
keplin_wineboot() { "$KEPLIN_WINE_LOADER" wineboot.exe "$@"; }
keplin_winepath() { "$KEPLIN_WINE_LOADER" winepath.exe "$@"; }
keplin_reg() { "$KEPLIN_WINE_LOADER" reg.exe "$@"; }

# Start a private Xvfb on the first free display from :50 to :99 and export
# DISPLAY. A display counts as taken when its socket or its lock file exists.
# Returns non-zero when no server could be started.
keplin_xvfb_start() {
  local n pid
  if ! command -v Xvfb >/dev/null 2>&1; then
    keplin_log "Xvfb is not installed (run scripts/install-deps)"
    return 1
  fi
  for n in $(seq 50 99); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    pid=$!
    # Ready when the server answers; gone when another server took the number first.
    for _ in $(seq 1 100); do
      if ! kill -0 "$pid" 2>/dev/null; then
        pid=""
        break
      fi
      if [[ -S /tmp/.X11-unix/X$n ]] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
        break
      fi
      sleep 0.1
    done
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      KEPLIN_XVFB_PID=$pid
      export DISPLAY=":$n"
      return 0
    fi
    if [[ -n $pid ]]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  keplin_log "could not start Xvfb on any display from :50 to :99"
  return 1
}

# Stop the Xvfb that keplin_xvfb_start started, if any. Safe to call twice.
keplin_xvfb_stop() {
  if [[ -n $KEPLIN_XVFB_PID ]]; then
    kill "$KEPLIN_XVFB_PID" 2>/dev/null
    wait "$KEPLIN_XVFB_PID" 2>/dev/null
    KEPLIN_XVFB_PID=""
  fi
  return 0
}

# Export the environment for a Wine prefix at PREFIX (an absolute path is made
# of a relative one): no debug output, no offer to install Mono or Gecko, and no
# menu entries written into the user's desktop (shortcuts stay in the prefix).
keplin_wine_env() {
  local prefix=$1
  [[ $prefix == /* ]] || prefix="$PWD/$prefix"
  export WINEPREFIX="$prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# As keplin_wine_env, then initialise the prefix when it has not been set up yet.
# Needs a display (call keplin_xvfb_start first when DISPLAY is empty).
keplin_wine_prefix() {
  keplin_wine_env "$1"
  [[ -n ${KEPLIN_WINE_LOADER:-} ]] || keplin_wine_use || return 1
  if [[ ! -f $WINEPREFIX/system.reg || ! -d $WINEPREFIX/drive_c/windows ]]; then
    keplin_log "setting up the Wine prefix $WINEPREFIX (once; this takes a little while)"
    mkdir -p "$WINEPREFIX"
    if ! keplin_wineboot -i >/dev/null 2>&1; then
      keplin_log "wineboot failed for $WINEPREFIX"
      return 1
    fi
    # Let the first boot finish writing the registry before anything else runs.
    keplin_wine_wait 120
  fi
  return 0
}

# Wait until the Wine server of $WINEPREFIX has ended (all its programs closed),
# at most SECONDS (default 15).
keplin_wine_wait() {
  local seconds=${1:-15}
  timeout "$seconds" wineserver -w >/dev/null 2>&1
  return 0
}

# End every Wine process of $WINEPREFIX and forget the prefix. Only for a prefix
# that belongs to the calling script alone.
keplin_wine_end() {
  if [[ -n ${WINEPREFIX:-} ]]; then
    timeout 20 wineserver -k >/dev/null 2>&1
    unset WINEPREFIX
  fi
  return 0
}

# Configure build/ARCH (win32: i686, win64: x86_64; Release, with the window
# tests) when it has not been configured yet, then build the given targets.
# Build output goes to stderr.
keplin_build() {
  local arch=$1 build="$KEPLIN_ROOT/build/$1" toolchain target args=()
  shift
  case $arch in
    win32) toolchain=toolchain-i686-mingw.cmake ;;
    win64) toolchain=toolchain-x86_64-mingw.cmake ;;
    *) keplin_log "unknown build '$arch'"; return 1 ;;
  esac
  if [[ ! -f $build/CMakeCache.txt ]]; then
    keplin_log "configuring build/$arch"
    cmake -S "$KEPLIN_ROOT" -B "$build" \
      -DCMAKE_TOOLCHAIN_FILE="$KEPLIN_ROOT/cmake/$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DKEPLIN_WINDOW_TESTS=ON >&2 || return 1
  fi
  for target in "$@"; do
    args+=(--target "$target")
  done
  cmake --build "$build" "${args[@]}" -j2 >&2
}
