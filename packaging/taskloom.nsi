; The Taskloom installer, made by scripts/release.sh with makensis:
;   makensis -DVERSION=1.0.0 -DARCH=win64 -DSTAGE=<folder> -DLISTS=<folder> -DOUTFILE=<file>
;            [-DICON=<file.ico>] packaging/taskloom.nsi
; STAGE holds what is installed, as the portable zip holds it; LISTS the two
; lists of it that release.sh writes: files.nsh (install) and unfiles.nsh
; (uninstall, deepest folders last).
;
; Installs into Program Files (the 64-bit one for win64), Start menu
; shortcuts for Loomwright and Tessdeck, optionally the logon Run value the
; pad's "Auto Start" writes, and an uninstaller registered in the system's
; program list. Silent: setup.exe /S [/LOGON] [/D=folder]; uninstall.exe /S.

!ifndef VERSION | ARCH | STAGE | LISTS | OUTFILE
  !error "VERSION, ARCH, STAGE, LISTS and OUTFILE must be defined"
!endif

; The 64-bit installer is a 64-bit program itself: it runs where the
; programs it installs run (no 32-bit layer needed), sees the 64-bit Program
; Files and writes the 64-bit view of the registry, which the 64-bit pad
; reads.
!if "${ARCH}" == "win64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Taskloom"
!define PUBLISHER "Taskloom developers"
; Our own entry in the program list. The pad keeps its settings under
; ...\Uninstall\Tessdeck itself; that key is the pad's, removed by its
; /uninstall.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Taskloom"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tessdeck"
!define PAD_CLASS "TDeckForm"
!define PAD_CAPTION "Tessdeck"
!define MENU_FOLDER "$SMPROGRAMS\Taskloom"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
!if "${ARCH}" == "win64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "MIT License, ${PUBLISHER}"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"


Function un.onInit
  !if "${ARCH}" == "win64"
    SetRegView 64
  !endif
FunctionEnd

; Ends a running pad through its own exit (it saves its settings then), so
; that its program file can go.
!macro CLOSE_PAD un
Function ${un}ClosePad
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${PAD_CLASS}" "${PAD_CAPTION}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} $1 == 0
      DetailPrint "Closing the running Tessdeck"
    ${EndIf}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    Sleep 200
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 50
FunctionEnd
!macroend
!insertmacro CLOSE_PAD ""
!insertmacro CLOSE_PAD "un."

Section "Taskloom (Loomwright, Tessdeck, taskloom)" SecMain
  SectionIn RO
  Call ClosePad
  SetOutPath "$INSTDIR"
  !include "${LISTS}/files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Start menu shortcuts, for every user.
  SetShellVarContext all
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Loomwright.lnk" "$INSTDIR\loomwright.exe" "" "$INSTDIR\loomwright.exe" 0
  CreateShortcut "${MENU_FOLDER}\Tessdeck.lnk" "$INSTDIR\tessdeck.exe" "" "$INSTDIR\tessdeck.exe" 0

  ; The entry in the system's program list.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\loomwright.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The value the pad's own "Auto Start" writes: named "Tessdeck", holding the
; program's folder and file name in lower case.
Section /o "Start Tessdeck at logon" SecLogon
  StrCpy $0 "$INSTDIR\tessdeck.exe"
  System::Call 'user32::CharLower(t r0 r0)'
  ; Quoted: the folder holds a blank, and the pad quotes it the same way.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$0"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "The composer Loomwright, the launcher pad Tessdeck, the console runner taskloom, their help pages and the example scripts, with Start menu shortcuts."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecLogon} "Windows starts Tessdeck when a user logs on (the pad's Options, Auto Start, turns it off again)."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  !if "${ARCH}" == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit ${PRODUCT}; this Windows is 32-bit. Please use the win32 setup." /SD IDOK
      Abort
    ${EndIf}
    SetRegView 64
  !endif
  ; /LOGON chooses "Start Tessdeck at logon" (for silent installs).
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOGON" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLogon}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.ClosePad
  ; The pad removes its own key, its Run value and the ".tks" association.
  IfFileExists "$INSTDIR\tessdeck.exe" 0 +2
    ExecWait '"$INSTDIR\tessdeck.exe" /uninstall'
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"

  !include "${LISTS}/unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "${MENU_FOLDER}\Loomwright.lnk"
  Delete "${MENU_FOLDER}\Tessdeck.lnk"
  RMDir "${MENU_FOLDER}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
