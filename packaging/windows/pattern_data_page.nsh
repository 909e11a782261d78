; The pattern-data page: shows the setting the program reads (kept by
; default) or lets the user choose the folder, and writes it once the
; programs are installed. Where ZidereV5.ini lies and what it holds is
; decided by lodemark-cli alone ("setting", "setting --set"); its --utf16
; answer is what nsExec can read.

Var PatdatChoice       ; the folder to write; empty keeps the setting
Var CurrentStatus      ; lodemark-cli's exit status: 0 a usable setting
Var CurrentText        ; its answer: the setting, or why there is none
Var KeepRadio
Var SetRadio
Var FolderText
Var BrowseButton

; Runs lodemark-cli with the arguments on the stack; leaves its exit
; status in $0 and its answer, without the byte-order mark and the last
; line end, in $1.
!macro RunSettingCommand PROGRAM ARGUMENTS
  nsExec::ExecToStack '"${PROGRAM}" setting ${ARGUMENTS} --utf16'
  Pop $0
  Pop $1
  StrCpy $2 $1 1
  ${If} $2 == "${U+FEFF}"
    StrCpy $1 $1 "" 1
  ${EndIf}
  ${Do}
    StrCpy $2 $1 1 -1
    ${If} $2 == "$\n"
    ${OrIf} $2 == "$\r"
      StrCpy $1 $1 -1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
!macroend

; /PATDAT=folder on the command line: the folder to set, silent or not.
; /PATDAT="a folder" is understood; a /PATDAT that is not (the quotes
; around the whole option, "/PATDAT=...") stops before anything is
; installed rather than keep the old setting unasked.
Function ReadCommandLineSetting
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PATDAT=" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 != ""
    StrCpy $PatdatChoice $R1
    Return
  ${EndIf}
  ${StrStr} $R2 $R0 "/PATDAT"
  ${If} $R2 != ""
    MessageBox MB_OK|MB_ICONSTOP \
      "/PATDAT のフォルダーを読めません。次のように書いてください:$\r$\n  /PATDAT=C:\Kelmo\PATDAT$\r$\n  /PATDAT=$\"D:\フォルダー 名\PATDAT$\"" \
      /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Function ReadCurrentSetting
  InitPluginsDir
  File "/oname=$PLUGINSDIR\lodemark-cli.exe" "${STAGE}\lodemark-cli.exe"
  !insertmacro RunSettingCommand "$PLUGINSDIR\lodemark-cli.exe" ""
  StrCpy $CurrentStatus $0
  StrCpy $CurrentText $1
FunctionEnd

Function PatternDataPage
  Call ReadCurrentSetting
  !insertmacro MUI_HEADER_TEXT "パターンデータフォルダー (PATDAT)" \
    "ボーリング柱状図システムの PATDAT フォルダーの設定"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u \
    "Lodemark は、土質名辞書のある PATDAT フォルダーの場所を、Windows のシステムフォルダーの ${SETTINGS_FILE} から読みます。"
  Pop $0
  ${If} $CurrentStatus == 0
    StrCpy $R0 "現在の設定: $CurrentText"
  ${ElseIf} $CurrentStatus == 1
    StrCpy $R0 "現在の設定は使えません:$\r$\n$CurrentText"
  ${Else}
    StrCpy $R0 "現在の設定を読めませんでした ($CurrentStatus):$\r$\n$CurrentText"
  ${EndIf}
  ${NSD_CreateLabel} 0 24u 100% 34u "$R0"
  Pop $0

  ${If} $CurrentStatus == 0
    ${NSD_CreateRadioButton} 0 62u 100% 12u "今の設定のままにする"
  ${Else}
    ${NSD_CreateRadioButton} 0 62u 100% 12u "今は設定しない (あとで設定する)"
  ${EndIf}
  Pop $KeepRadio
  ${NSD_CreateRadioButton} 0 76u 100% 12u "次のフォルダーに設定する:"
  Pop $SetRadio
  ${NSD_CreateText} 12u 90u -72u 13u "$PatdatChoice"
  Pop $FolderText
  ${NSD_CreateButton} -56u 89u 56u 15u "参照..."
  Pop $BrowseButton
  ${NSD_OnClick} $BrowseButton ChooseFolder

  ${If} $MultiUser.Privileges == "Admin"
    ${NSD_CreateLabel} 0 110u 100% 30u \
      "${SETTINGS_FILE} には 1 行目に見出し、2 行目にフォルダーが、Shift-JIS (CR LF) で書かれます。アンインストールしても、この設定と PATDAT フォルダーは消えません。"
    Pop $0
    ; A setting that works is kept unless the user asks otherwise.
    ${If} $CurrentStatus == 0
    ${AndIf} $PatdatChoice == ""
      ${NSD_Check} $KeepRadio
    ${Else}
      ${NSD_Check} $SetRadio
    ${EndIf}
  ${Else}
    ${NSD_CreateLabel} 0 110u 100% 40u \
      "${SETTINGS_FILE} はシステムフォルダー ($SYSDIR) にあり、書き込むには管理者の権限が要ります。設定するには、インストーラーを管理者として実行し直すか、インストールの後で管理者のコマンドプロンプトから次を実行してください:$\r$\n  lodemark-cli setting --set <PATDAT フォルダー>"
    Pop $0
    ${NSD_Check} $KeepRadio
    EnableWindow $SetRadio 0
    EnableWindow $FolderText 0
    EnableWindow $BrowseButton 0
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ChooseFolder
  Pop $0
  ${NSD_GetText} $FolderText $1
  nsDialogs::SelectFolderDialog "PATDAT フォルダーを選んでください" "$1"
  Pop $1
  ${If} $1 != "error"
    ${NSD_SetText} $FolderText "$1"
    ${NSD_Check} $SetRadio
    ${NSD_Uncheck} $KeepRadio
  ${EndIf}
FunctionEnd

Function PatternDataPageLeave
  ${NSD_GetState} $SetRadio $0
  ${If} $0 == ${BST_CHECKED}
    ${NSD_GetText} $FolderText $1
    ${If} $1 == ""
      MessageBox MB_OK|MB_ICONEXCLAMATION "PATDAT フォルダーを選んでください。"
      Abort
    ${EndIf}
    StrCpy $PatdatChoice $1
  ${Else}
    StrCpy $PatdatChoice ""
  ${EndIf}
FunctionEnd

; After the programs are in place: the installed lodemark-cli writes the
; setting. A failure leaves the programs installed and says what to do.
Function WritePatternDataSetting
  ${If} $PatdatChoice == ""
    Return
  ${EndIf}
  ; A "\" before the closing quote would escape it on the command line.
  StrCpy $R0 $PatdatChoice
  StrCpy $2 $R0 1 -1
  ${If} $2 == "\"
    StrCpy $R0 "$R0\"
  ${EndIf}
  !insertmacro RunSettingCommand "$INSTDIR\lodemark-cli.exe" '--set "$R0"'
  DetailPrint "$1"
  ${If} $0 != 0
    SetErrorLevel 3
    MessageBox MB_OK|MB_ICONEXCLAMATION \
      "PATDAT の設定を書けませんでした:$\r$\n$1$\r$\n$\r$\nLodemark はインストールされました。設定は、管理者のコマンドプロンプトから「lodemark-cli setting --set <PATDAT フォルダー>」で書けます。" \
      /SD IDOK
  ${EndIf}
FunctionEnd
