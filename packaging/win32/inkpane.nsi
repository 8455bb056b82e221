; The Inkpane installer: shows the licence, puts inkpane.exe, its read-me and
; the licence under Program Files, adds a Start-menu shortcut for every user
; and registers the uninstaller in Apps & features. It associates no file type, since Inkpane takes no
; arguments. /S installs, and uninstalls, without a question.
; The build defines VERSION (1.1.0.3), FILE_VERSION (1.01.0003), PUBLISHER,
; EXE, README, LICENSE, ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh

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

Section "Inkpane"
  SetOutPath "$INSTDIR"
  File "${EXE}"
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

Section "Uninstall"
  Delete "$SMPROGRAMS\Inkpane.lnk"
  Delete "$INSTDIR\inkpane.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
