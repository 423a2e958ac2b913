; Installer of Quorvel and the Launcher: program files, the operator's folder, Start-menu shortcuts
; and an uninstaller in the system's program list.
; Defines from the build: VERSION (x.y.z), FILEVERSION (x.y.z.0), STAGE (folder with the files to
; install), OUTFILE, ARCH (x86 or amd64).
Unicode true
!if "${ARCH}" == "amd64"
  Target amd64-unicode
  !define PROGRAMS "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAMS "$PROGRAMFILES"
!endif
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Quorvel"
!define PRODUCT_TEXT "Quorvel 振動波形解析プログラム"
!define COMPANY "Quorvel Sokki Works"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
; Program Files is read-only for the operator, and Quorvel keeps its INI in its working folder:
; every shortcut starts the programs in this folder, which also holds the recorded data.
!define USER_FOLDER "$DOCUMENTS\Quorvel"
!define DATA_FOLDER "$DOCUMENTS\Quorvel\Data"
; The running program holds this mutex; its files cannot be replaced or removed meanwhile.
!define RUNNING_MUTEX "Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE"

Name "${PRODUCT_TEXT}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAMS}\Quorvel"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILEVERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT_TEXT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${FILEVERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${FILEVERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "(C) 2026 ${COMPANY}"

!define MUI_ICON "${STAGE}\Quorvel.ico"
!define MUI_UNICON "${STAGE}\Quorvel.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guide\index.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "操作説明書を表示する"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Quorvel を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION RunQuorvel
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

!macro RefuseWhileRunning
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_OK|MB_ICONEXCLAMATION "Quorvel が起動しています。$\r$\nQuorvel を終了してからやり直してください。" /SD IDOK
    SetErrorLevel 2  ; what a silent caller sees: aborted by the script
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Function RunQuorvel
  SetOutPath "${USER_FOLDER}"
  Exec '"$INSTDIR\Quorvel.exe"'
FunctionEnd

Section "Quorvel"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quorvel.exe"
  File "${STAGE}\Launcher.exe"
  File "${STAGE}\Launcher.ini"
  File /r "${STAGE}\guide"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The operator's folder. A first INI points the data folder into it; an existing INI is the
  ; operator's and stays as it is. FileWrite writes the system code page, with CRLF given here.
  CreateDirectory "${DATA_FOLDER}"
  ${IfNot} ${FileExists} "${USER_FOLDER}\Quorvel.ini"
    FileOpen $0 "${USER_FOLDER}\Quorvel.ini" w
    FileWrite $0 "[SPEC]$\r$\nSAVE_DIRECTORY=${DATA_FOLDER}$\r$\n"
    FileClose $0
  ${EndIf}

  ; Shortcuts take the current output folder as their working folder.
  SetOutPath "${USER_FOLDER}"
  ; The Launcher's first button opens this shortcut, so Quorvel runs in the operator's folder too.
  CreateShortcut "$INSTDIR\Quorvel.lnk" "$INSTDIR\Quorvel.exe"
  CreateDirectory "$SMPROGRAMS\Quorvel"
  CreateShortcut "$SMPROGRAMS\Quorvel\Quorvel.lnk" "$INSTDIR\Quorvel.exe"
  CreateShortcut "$SMPROGRAMS\Quorvel\ランチャー.lnk" "$INSTDIR\Launcher.exe"
  CreateShortcut "$SMPROGRAMS\Quorvel\操作説明書.lnk" "$INSTDIR\guide\index.html"
  CreateShortcut "$SMPROGRAMS\Quorvel\データフォルダ.lnk" "${USER_FOLDER}"
  CreateShortcut "$SMPROGRAMS\Quorvel\アンインストール.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT_TEXT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Quorvel.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put in place, one named file at a time; the operator's folder (INI and
; recorded data) is never touched.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Quorvel.exe"
  Delete "$INSTDIR\Launcher.exe"
  Delete "$INSTDIR\Launcher.ini"
  Delete "$INSTDIR\Quorvel.lnk"
  RMDir /r "$INSTDIR\guide"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Quorvel\Quorvel.lnk"
  Delete "$SMPROGRAMS\Quorvel\ランチャー.lnk"
  Delete "$SMPROGRAMS\Quorvel\操作説明書.lnk"
  Delete "$SMPROGRAMS\Quorvel\データフォルダ.lnk"
  Delete "$SMPROGRAMS\Quorvel\アンインストール.lnk"
  RMDir "$SMPROGRAMS\Quorvel"

  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
