# Shell pieces shared by ./keplin, ./run-tests and bench/run: a private X server
# for Wine when there is no display, and a Wine prefix of the project's own.
#
# Source this file from bash; it defines functions and sets no options.
# KEPLIN_ROOT is the repository root (the parent of this file's directory).
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
#   keplin_build_win32 TARGET...
#                            configure build/win32 if needed and build TARGETs
#
# Messages go to stderr, prefixed with $KEPLIN_LOG_TAG (default: the script's name).

KEPLIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KEPLIN_XVFB_PID=""

keplin_log() {
  printf '%s: %s\n' "${KEPLIN_LOG_TAG:-$(basename "$0")}" "$*" >&2
}

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
# of a relative one): no debug output, no offer to install Mono or Gecko.
keplin_wine_env() {
  local prefix=$1
  [[ $prefix == /* ]] || prefix="$PWD/$prefix"
  export WINEPREFIX="$prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# As keplin_wine_env, then initialise the prefix when it has not been set up yet.
# Needs a display (call keplin_xvfb_start first when DISPLAY is empty).
keplin_wine_prefix() {
  keplin_wine_env "$1"
  if [[ ! -f $WINEPREFIX/system.reg || ! -d $WINEPREFIX/drive_c/windows ]]; then
    keplin_log "setting up the Wine prefix $WINEPREFIX (once; this takes a little while)"
    mkdir -p "$WINEPREFIX"
    if ! wineboot -i >/dev/null 2>&1; then
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

# Configure build/win32 (the i686 Release build, with the window tests) when it
# has not been configured yet, then build the given targets. Build output goes
# to stderr.
keplin_build_win32() {
  local build="$KEPLIN_ROOT/build/win32" target args=()
  if [[ ! -f $build/CMakeCache.txt ]]; then
    keplin_log "configuring build/win32"
    cmake -S "$KEPLIN_ROOT" -B "$build" \
      -DCMAKE_TOOLCHAIN_FILE="$KEPLIN_ROOT/cmake/toolchain-i686-mingw.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKEPLIN_WINDOW_TESTS=ON >&2 || return 1
  fi
  for target in "$@"; do
    args+=(--target "$target")
  done
  cmake --build "$build" "${args[@]}" -j2 >&2
}
