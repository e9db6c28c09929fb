; The Windows installer: the VST 3 bundle into %CommonProgramFiles%\VST3, the CLAP plug-in into
; %CommonProgramFiles%\CLAP, and an uninstaller listed under Apps & Features that removes exactly
; those files. /S installs and uninstalls silently.
;
; Built by scripts/windows.sh with Debian's makensis, which passes the identity and the inputs:
;   -DNAME -DVENDOR -DVERSION -DURL -DDESCRIPTION -DBUNDLE=<Quorvane.vst3 folder>
;   -DCLAP=<Quorvane.clap> -DUNINSTALL_LIST=<generated Delete lines> -DOUTFILE=<setup.exe>
;
; A 64-bit installer: the plug-ins are x64 only, and Windows itself refuses to start it on a
; 32-bit system ("This app can't run on your PC").
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${VENDOR}\${NAME}"
BrandingText "${VENDOR}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "${VENDOR}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} setup (VST 3 and CLAP, 64-bit)"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${VENDOR}"

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs ${NAME} ${VERSION}, ${DESCRIPTION}, as a VST 3 and a CLAP plug-in for 64-bit hosts:$\r$\n$\r$\n  $COMMONFILES64\VST3\${NAME}.vst3$\r$\n  $COMMONFILES64\CLAP\${NAME}.clap$\r$\n$\r$\nClose your audio software before you continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${NAME} needs 64-bit Windows: it is a 64-bit plug-in for 64-bit hosts."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  ; The bundle's contents by wildcard: "File /r <folder>" would look for that name in every folder below.
  SetOutPath "$COMMONFILES64\VST3\${NAME}.vst3"
  File /r "${BUNDLE}/*.*"
  SetOutPath "$COMMONFILES64\CLAP"
  File "${CLAP}"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME} ${VERSION} (VST 3, CLAP)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only the files this installer wrote, then their folders if nothing else is left in them: other
; plug-ins in the VST3 and CLAP folders stay.
Section "Uninstall"
  SetShellVarContext all
  !include "${UNINSTALL_LIST}"
  Delete "$COMMONFILES64\CLAP\${NAME}.clap"
  RMDir "$COMMONFILES64\CLAP"
  RMDir "$COMMONFILES64\VST3"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
SectionEnd
