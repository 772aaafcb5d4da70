; Zelvo's installer: for the user alone (no administrator needed) or for all users, a Start-menu
; entry and an uninstaller. makensis -DSOURCE=<the portable folder> -DVERSION=<x.y.z> -DOUTFILE=<setup.exe>
; Silent: setup.exe /S /CurrentUser (or /AllUsers); Uninstall.exe /S likewise.
; A 64-bit installer, as the program is: a 32-bit one would also need Wine's 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Zelvo"
OutFile "${OUTFILE}"
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvo"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Zelvo"
; An update installs where the copy it replaces lives, in the same mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\Zelvo"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\Zelvo"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${SOURCE}\zelvo.ico"
!define MUI_UNICON "${SOURCE}\zelvo.ico"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelvo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Zelvo"
VIAddVersionKey "FileDescription" "Zelvo installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Zelvo Software"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Zelvo"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  ; Its presence marks the copy as installed: settings and the log go to the user's folder.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Zelvo.lnk" "$INSTDIR\zelvo.exe"
  WriteRegStr SHCTX "Software\Zelvo" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Zelvo"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Zelvo Software"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelvo.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's countdowns and log (in %APPDATA%\Zelvo) stay: a reinstall finds them.
Section "Uninstall"
  Delete "$SMPROGRAMS\Zelvo.lnk"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Zelvo"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\Zelvo"
  RMDir /r "$INSTDIR"
SectionEnd
