; The KEPLIN setup program, built by makensis in a build folder that holds
; keplin.exe, the help files, README.txt and LICENSE.txt:
;   makensis -DVERSION=2.2 -DARCH=win32|win64 -DOUTFILE=keplin-setup.exe keplin.nsi
;
; It installs for the current user only, into a folder that user can write:
; KEPLIN keeps its preferences (QUENTARO.INI) and its backups beside the
; program, which an ordinary user could not do under Program Files.
; The uninstaller removes what setup installed and leaves the preferences and
; the backups; the folder goes only when nothing else is left in it.

; The 64-bit setup is a 64-bit program itself, so that it also runs where
; 32-bit programs cannot (a 64-bit Wine without its 32-bit half).
!if ${ARCH} == "win64"
Target amd64-unicode
!else
Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "KEPLIN"
!define PUBLISHER "the KEPLIN authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KEPLIN"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\KEPLIN"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT License"

!define MUI_ICON "${__FILEDIR__}/../res/keplin.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/keplin.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\keplin.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_LICENSEPAGE_TEXT_BOTTOM "KEPLIN is free software under the MIT License. Choose Next to go on."
!define MUI_LICENSEPAGE_BUTTON "&Next >"
!insertmacro MUI_PAGE_LICENSE "LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running KEPLIN holds keplin.exe open: setup could not replace it and
; the uninstaller could not remove it. Silent runs end with an error instead.
!macro REFUSE_WHILE_KEPLIN_RUNS
    keplin_check:
        FindWindow $0 "KEPLIN"
        StrCmp $0 0 keplin_closed
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "KEPLIN is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY keplin_check
        SetErrorLevel 3
        Abort
    keplin_closed:
!macroend

Function .onInit
    SetShellVarContext current
    !insertmacro REFUSE_WHILE_KEPLIN_RUNS
FunctionEnd

Function un.onInit
    SetShellVarContext current
    !insertmacro REFUSE_WHILE_KEPLIN_RUNS
FunctionEnd

Section "KEPLIN"
    SetOutPath "$INSTDIR"
    File "keplin.exe"
    File "keplin.hlp"
    File "keplin.html"
    File "keplin.chm"
    ; How to Use Help opens this one beside the program.
    File "winhelp.hlp"
    File "README.txt"
    File "LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\KEPLIN.lnk" "$INSTDIR\keplin.exe" "" "$INSTDIR\keplin.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\keplin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "$INSTDIR\keplin.html"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Readme" "$INSTDIR\README.txt"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KB, as Programs and Features shows it: what the folder holds now.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\KEPLIN.lnk"
    Delete "$INSTDIR\keplin.exe"
    Delete "$INSTDIR\keplin.hlp"
    Delete "$INSTDIR\keplin.html"
    Delete "$INSTDIR\keplin.chm"
    Delete "$INSTDIR\winhelp.hlp"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    ; What the WinHelp viewer keeps beside a help file it has shown.
    Delete "$INSTDIR\keplin.gid"
    Delete "$INSTDIR\keplin.fts"
    Delete "$INSTDIR\winhelp.gid"
    Delete "$INSTDIR\winhelp.fts"
    Delete "$INSTDIR\uninstall.exe"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Without /r: QUENTARO.INI and the backups stay, and so does the folder
    ; that holds them.
    RMDir "$INSTDIR"
    IfFileExists "$INSTDIR\*.*" 0 done
        DetailPrint "Kept: your preferences and backups in $INSTDIR"
        MessageBox MB_OK|MB_ICONINFORMATION "KEPLIN is removed. Your preferences (QUENTARO.INI) and backup files are still in$\r$\n$INSTDIR$\r$\nDelete that folder when you no longer need them." /SD IDOK
    done:
SectionEnd
