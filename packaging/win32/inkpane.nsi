; The Inkpane installer: shows the licence, puts inkpane.exe, its read-me and
; the licence under Program Files, adds a Start-menu shortcut for every user
; and registers the uninstaller in Apps & features. It associates no file type, since Inkpane takes no
; arguments. /S installs, and uninstalls, without a question.
; Neither installs nor uninstalls over a running Inkpane: Windows holds a
; running program's file, and a half-done uninstall would leave a program that
; nothing can uninstall any more.
; The build defines VERSION (1.1.0.3), FILE_VERSION (1.01.0003), PUBLISHER,
; EXE, README, LICENSE, ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Inkpane"

Name "Inkpane"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Inkpane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation
BrandingText "Inkpane ${FILE_VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 ProductName "Inkpane"
VIAddVersionKey /LANG=0 ProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 FileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 FileDescription "Inkpane ${FILE_VERSION} Setup"
VIAddVersionKey /LANG=0 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=0 LegalCopyright "Copyright 2026 The Inkpane developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The licence grants rights and asks for nothing, so the page needs only Next,
; not a box to tick.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Inkpane is free software under the MIT licence."
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; MUI's own box, "Run Inkpane", ticked. A silent install shows no page, so it
; never starts the program.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunInkpaneAsUser
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferRunOnlyWithExplorer
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A 64-bit program's uninstall entry belongs in the 64-bit registry, and a
; program installed for the whole machine gets its shortcut in every user's
; Start menu.
!macro MachineWide
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro MachineWide
FunctionEnd

Function un.onInit
  !insertmacro MachineWide
FunctionEnd

; A running Inkpane shows itself by its main window's class, so the program
; needs to keep no mutex or file for the installer's sake. Cancel, or /S,
; aborts before anything has changed; aborting ends a silent run with status 2.
!macro RefuseWhileInkpaneRuns UN
  Function ${UN}RefuseWhileInkpaneRuns
    retry:
    FindWindow $0 "Inkpane.Form1"
    ${If} $0 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Inkpane is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
      Abort "Inkpane is running: nothing was changed."
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro RefuseWhileInkpaneRuns ""
!insertmacro RefuseWhileInkpaneRuns "un."

; The installer runs as an administrator, and a program it started itself
; would too, opening every file with those rights. Handed the program's path,
; explorer.exe passes it to the Explorer already running for the signed-in
; user, which starts it without them, as the Start menu does.
Function RunInkpaneAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\inkpane.exe"'
FunctionEnd

; Without Explorer's taskbar there is no Explorer to hand the start to (another
; shell runs, or none), and explorer.exe would start Inkpane itself, as an
; administrator: the box is then neither shown nor ticked.
Function OfferRunOnlyWithExplorer
  FindWindow $0 "Shell_TrayWnd"
  ${If} $0 = 0
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section "Inkpane"
  Call RefuseWhileInkpaneRuns
  SetOutPath "$INSTDIR"
  ; An Inkpane that has no window yet, or no longer, still holds its file:
  ; the program goes first, and without it nothing else is installed.
  SetOverwrite try
  ClearErrors
  File "${EXE}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\inkpane.exe is in use, so Inkpane was not installed. Close Inkpane, then install it again." /SD IDOK
    Abort "inkpane.exe is in use: nothing was installed."
  ${EndIf}
  SetOverwrite on
  File "${README}"
  File "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Inkpane.lnk" "$INSTDIR\inkpane.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Inkpane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\inkpane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  ; Apps & features shows the size in kilobytes.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

; All or nothing: the program goes first, and while it cannot go, its
; shortcut, its Apps entry and this uninstaller stay, so that the user can
; uninstall it later.
Section "Uninstall"
  Call un.RefuseWhileInkpaneRuns
  Delete "$INSTDIR\inkpane.exe"
  ${If} ${FileExists} "$INSTDIR\inkpane.exe"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\inkpane.exe is in use, so nothing was uninstalled. Close Inkpane, then uninstall it again." /SD IDOK
    Abort "inkpane.exe is in use: nothing was uninstalled."
  ${EndIf}
  Delete "$SMPROGRAMS\Inkpane.lnk"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
