; The Windows installer: lodemark-<version>-setup-x64.exe.
; Made by scripts/package-windows.sh:
;   makensis -DVERSION=x.y.z -DSTAGE=<unpacked zip folder> -DOUTFILE=<exe> [-DICON=<ico>] lodemark.nsi
; Installs for every user (Program Files, administrator) or for the user
; alone (the user's own programs folder, no administrator), writes the
; pattern-data setting through lodemark-cli so that the program's own rule
; decides where and how, and never removes what users made.
; Silent: /S [/AllUsers | /CurrentUser] [/PATDAT=folder] [/D=install folder]
; Error levels beyond NSIS's own (0 done, 1 cancelled, 2 aborted):
;   2 also when /PATDAT names no folder (then nothing is installed),
;   3 when the programs were installed but the setting could not be written.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION | STAGE | OUTFILE
  !error "give -DVERSION=, -DSTAGE= and -DOUTFILE="
!endif

!define PRODUCT "Lodemark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lodemark"
!define SETTINGS_FILE "ZidereV5.ini"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright © 2026 the Lodemark developers"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Lodemark"
; An upgrade goes where the earlier version is, in its mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
Page custom PatternDataPage PatternDataPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\lodemark.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

!include "pattern_data_page.nsh"

Function .onInit
  !insertmacro MULTIUSER_INIT
  Call ReadCommandLineSetting
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Sets $1 to PROGRAM when it exists and cannot be opened for writing.
!macro NoteIfRunning PROGRAM
  ${If} ${FileExists} "${PROGRAM}"
    ClearErrors
    FileOpen $2 "${PROGRAM}" a
    ${If} ${Errors}
      StrCpy $1 "${PROGRAM}"
    ${Else}
      FileClose $2
    ${EndIf}
  ${EndIf}
!macroend

; Stops (error level 2) unless both programs can be replaced: a running
; program cannot be opened for writing. Asks to close them first; silent
; runs stop at once. Nothing is changed before this.
!macro StopWhileRunning RETRY_LABEL
  ${RETRY_LABEL}:
  StrCpy $1 ""
  !insertmacro NoteIfRunning "$INSTDIR\lodemark.exe"
  !insertmacro NoteIfRunning "$INSTDIR\lodemark-cli.exe"
  ${If} $1 != ""
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Lodemark が実行中です。ウィンドウと lodemark-cli を閉じてから「再試行」を押してください。" \
      /SD IDCANCEL IDRETRY ${RETRY_LABEL}
    SetErrorLevel 2
    Abort
  ${EndIf}
!macroend

Section "Lodemark"
  ; An upgrade over a running program would leave old and new mixed.
  !insertmacro StopWhileRunning retry_install
  SetOutPath "$INSTDIR"
  ; Both programs are replaced in place on an upgrade.
  File "${STAGE}\lodemark.exe"
  File "${STAGE}\lodemark-cli.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\samples"
  File "${STAGE}\samples\README.txt"
  SetOutPath "$INSTDIR\samples\database"
  File "${STAGE}\samples\database\*.*"
  ; A pattern-data folder is the user's from the first conversion on: an
  ; upgrade never puts the shipped dictionaries over it.
  SetOverwrite off
  SetOutPath "$INSTDIR\samples\patdat"
  File "${STAGE}\samples\patdat\*.*"
  SetOverwrite on

  ; The window's folder pickers start in the samples' folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Lodemark.lnk" "$INSTDIR\lodemark.exe" "" "$INSTDIR\lodemark.exe" 0
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lodemark.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  Call WritePatternDataSetting
SectionEnd

; Only what the installer put there goes: a pattern-data folder (the
; samples' one too), converted output and ZidereV5.ini stay.
Section "Uninstall"
  ; Nothing is removed while a program runs, so that the entry in "Apps &
  ; features" stays true.
  !insertmacro StopWhileRunning retry_uninstall
  Delete "$INSTDIR\lodemark.exe"
  Delete "$INSTDIR\lodemark-cli.exe"
  Delete "$SMPROGRAMS\Lodemark.lnk"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\samples\README.txt"
  Delete "$INSTDIR\samples\database\Rodev1.Dat"
  Delete "$INSTDIR\samples\database\Rodev2.Dat"
  Delete "$INSTDIR\samples\database\Rodev3.Dat"
  Delete "$INSTDIR\samples\database\Rodev5.Dat"
  Delete "$INSTDIR\uninstall.exe"
  ; Folders go only when empty.
  RMDir "$INSTDIR\samples\database"
  RMDir "$INSTDIR\samples"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
