; The Windows installer: installs for the current user, without
; administrator rights, into the user's own programs folder.
;
;   makensis -DVERSION=1.2.3.4 -DPROGRAM=Shelfcloak.exe -DREADME=README.md
;            -DLICENSE=LICENSE -DICON=program.ico -DOUTFILE=Setup.exe shelfcloak.nsi
;
;   -DSIGN=sign.sh   also signs the uninstaller and the installer with it
;
; Installer switches:
;   /S          silent: installs with the defaults below and shows nothing
;   /LOGON      also start Shelf Cloak at logon (off by default)
;   /D=FOLDER   install into FOLDER instead of the default; must come last
; Uninstaller switches:
;   /S               silent; keeps the settings unless /REMOVESETTINGS is given
;   /REMOVESETTINGS  also removes the settings, without asking

!ifndef VERSION | PROGRAM | README | LICENSE | ICON | OUTFILE
  !error "define VERSION, PROGRAM, README, LICENSE, ICON and OUTFILE"
!endif

Target amd64-unicode
SetCompressor /SOLID lzma
; Files keep no build times, so that the same files give the same installer.
SetDateSave off
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Shelf Cloak"
!define MAKER "Quillfen"
!define EXE "Shelfcloak.exe"
!define SETTINGS_KEY "SOFTWARE\Quillfen\Shelfcloak"
!define MAKER_KEY "SOFTWARE\Quillfen"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "ShCloak"
!define POLICY_KEY "Software\Policies\Microsoft\Windows\Explorer"
!define POLICY_VALUE "TaskbarNoMultimon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Shelfcloak"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; The program's hidden main window and its tray menu's Exit command.
!define WINDOW_CLASS "SHELFCLOAK"
!define WINDOW_TITLE "Shelf Cloak"
!define CMD_EXIT 57665

!ifdef SIGN
  ; The uninstaller is signed before it is packed, so that the file
  ; installed is the signed one; the installer once it is written.
  !uninstfinalize '"${SIGN}" "%1" "${PRODUCT} uninstaller"' = 0
  !finalize '"${SIGN}" "%1" "${PRODUCT} setup"' = 0
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${MAKER}. MIT License."

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
; Names the hot key when the installer stored the first settings, as then
; no first-run Settings dialog will show it; the larger text leaves room.
Var HotKeyNote
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been installed on your computer.$HotKeyNote$\r$\n$\r$\nClick Finish to close Setup."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Ends a running copy the way its own tray menu does, and waits until its
; window is gone and its file may be replaced. Exit leaves the taskbar as it
; is, so a hidden one is shown first: the program that would bring it back
; is about to go.
!macro DEFINE_END_RUNNING_COPY un
Function ${un}EndRunningCopy
  FindWindow $0 "${WINDOW_CLASS}" "${WINDOW_TITLE}"
  ${If} $0 = 0
    Return
  ${EndIf}
  FindWindow $1 "Shell_TrayWnd" ""
  ${If} $1 <> 0
  ${AndIf} ${FileExists} "$INSTDIR\${EXE}"
    System::Call "user32::IsWindowVisible(p r1) i .r2"
    ${If} $2 = 0
      ExecWait '"$INSTDIR\${EXE}" -show'
    ${EndIf}
  ${EndIf}
  SendMessage $0 ${WM_COMMAND} ${CMD_EXIT} 0 /TIMEOUT=5000
  StrCpy $2 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}" "${WINDOW_TITLE}"
    ${If} $0 = 0
    ${OrIf} $2 >= 100
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${Loop}
  ; Windows keeps a program's file locked until its process has gone.
  ${If} ${FileExists} "$INSTDIR\${EXE}"
    StrCpy $2 0
    ${Do}
      ClearErrors
      FileOpen $3 "$INSTDIR\${EXE}" a
      ${IfNot} ${Errors}
        FileClose $3
        ${ExitDo}
      ${EndIf}
      ${If} $2 >= 100
        ${ExitDo}
      ${EndIf}
      Sleep 100
      IntOp $2 $2 + 1
    ${Loop}
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_END_RUNNING_COPY ""
!insertmacro DEFINE_END_RUNNING_COPY "un."

Section "${PRODUCT}" SectionProgram
  SectionIn RO
  SetShellVarContext current
  Call EndRunningCopy
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Stores a setting that is not stored yet; one already there stays.
!macro DEFAULT_SETTING NAME VALUE
  ClearErrors
  ReadRegDWORD $1 HKCU "${SETTINGS_KEY}" "${NAME}"
  ${If} ${Errors}
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "${NAME}" ${VALUE}
  ${EndIf}
!macroend

; The same value, quoted path and all, that the Settings dialog writes.
Section /o "Start ${PRODUCT} at logon" SectionLogon
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
  ; The Settings dialog shows the stored choice, not the Run value: keep
  ; them in step. Without a stored hot key the first start would open the
  ; dialog with start at logon clear, and an OK there would keep the Run
  ; value it denies; so the program's defaults are stored instead, and
  ; the user's own values, where there are any, stay.
  ClearErrors
  ReadRegDWORD $0 HKCU "${SETTINGS_KEY}" "System"
  ${If} ${Errors}
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "System" 1
    !insertmacro DEFAULT_SETTING "CtrlShiftKey" 0
    !insertmacro DEFAULT_SETTING "WinKey" 9
    !insertmacro DEFAULT_SETTING "Force" 0
    ; The letter the program takes: the stored position, the last beyond Z.
    ReadRegDWORD $1 HKCU "${SETTINGS_KEY}" "CtrlShiftKey"
    ${If} $1 U> 25
      StrCpy $1 25
    ${EndIf}
    StrCpy $2 "ABCDEFGHIJKLMNOPQRSTUVWXYZ" 1 $1
    StrCpy $HotKeyNote "$\r$\n$\r$\n${PRODUCT} starts at logon. Ctrl+Shift+$2 hides and shows the taskbar."
  ${EndIf}
  WriteRegDWORD HKCU "${SETTINGS_KEY}" "StartUp" 1
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOGON" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionLogon}
  ${EndIf}
FunctionEnd

; With Force on, hiding switched the shell to a single taskbar, and the
; program that would switch it back is about to go: the installed program
; gives the policy back ("-multi -exit") before its file is removed. A
; policy that Force did not set is not the uninstaller's to change. Windows
; closes the policy key to its users by default; then the program is run
; again elevated, once, but only when elevation keeps the user's own account
; (a token of type Full or Limited): a standard user's "runas" would run it
; as whichever administrator answers, and write that administrator's hive.
Function un.GiveBackPolicy
  ClearErrors
  ReadRegDWORD $0 HKCU "${SETTINGS_KEY}" "Force"
  ${If} ${Errors}
  ${OrIf} $0 = 0
    Return
  ${EndIf}
  ClearErrors
  ReadRegDWORD $0 HKCU "${POLICY_KEY}" "${POLICY_VALUE}"
  ${If} ${Errors}
  ${OrIf} $0 <> 1
  ${OrIfNot} ${FileExists} "$INSTDIR\${EXE}"
    Return
  ${EndIf}
  ExecWait '"$INSTDIR\${EXE}" -multi -exit'
  ReadRegDWORD $0 HKCU "${POLICY_KEY}" "${POLICY_VALUE}"
  ${If} $0 <> 1
    Return
  ${EndIf}
  ; GetTokenInformation(TokenElevationType = 18) on the TOKEN_QUERY (8)
  ; token: 1 Default, 2 Full, 3 Limited; 0 when it cannot be asked.
  StrCpy $3 0
  System::Call "kernel32::GetCurrentProcess() p .r4"
  System::Call "advapi32::OpenProcessToken(p r4, i 8, *p .r1) i .r2"
  ${If} $2 <> 0
    System::Call "advapi32::GetTokenInformation(p r1, i 18, *i .r3, i 4, *i .r5) i .r2"
    System::Call "kernel32::CloseHandle(p r1)"
    ${If} $2 = 0
      StrCpy $3 0
    ${EndIf}
  ${EndIf}
  ${If} $3 = 2
  ${OrIf} $3 = 3
    ExecShellWait "runas" "$INSTDIR\${EXE}" "-multi -exit" SW_HIDE
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningCopy
  Call un.GiveBackPolicy

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  StrCpy $R0 1
  ${If} ${Errors}
    StrCpy $R0 0
    ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove your ${PRODUCT} settings (the hot key and the Force option)?" /SD IDNO IDYES`
      StrCpy $R0 1
    ${EndIf}
  ${EndIf}

  ; A file still in use is retried for a moment before it is left behind.
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${EXE}"
    ${IfNot} ${Errors}
    ${OrIf} $2 >= 50
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${Loop}
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only an empty folder goes: whatever else the user put there stays.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  ; The Run value goes when it starts this copy; one that starts a copy
  ; elsewhere (a portable one, say) is that copy's.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${EXE}"'
  ${OrIf} $0 == "$INSTDIR\${EXE}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  ${If} $R0 = 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  ${Else}
    ClearErrors
    ReadRegDWORD $0 HKCU "${SETTINGS_KEY}" "StartUp"
    ${IfNot} ${Errors}
      ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
      ${If} $0 == ""
        WriteRegDWORD HKCU "${SETTINGS_KEY}" "StartUp" 0
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ; Last, so that its absence tells that the uninstallation has finished.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
