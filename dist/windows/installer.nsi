; The editor's Windows installer, made by makensis from the staged folder:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; It installs for the current user (no administrator needed) or, when asked
; and allowed, for every user of the machine; /S installs silently, for the
; current user unless /AllUsers is given.
; A 64-bit installer, for a 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define APP_NAME "Larkspur Theme Editor"
!define APP_KEY "LarkspurThemeEditor"
!define APP_EXE "larkspur-theme-editor.exe"
!define FILE_CLASS "LarkspurThemeEditor.Theme"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_KEY}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP_NAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${APP_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallFolder"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${APP_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!include MultiUser.nsh
!include MUI2.nsh

Name "${APP_NAME}"
OutFile "${OUTFILE}"
BrandingText "${APP_NAME} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "FileDescription" "${APP_NAME} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Larkspur"
VIAddVersionKey "LegalCopyright" "Larkspur developers"

!define MUI_ICON "${STAGE}/larkspur-theme-editor.ico"
!define MUI_UNICON "${STAGE}/larkspur-theme-editor.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP_EXE}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; SHCTX is HKCU for a per-user install and HKLM for a per-machine one.
  WriteRegStr SHCTX "Software\${APP_KEY}" "InstallFolder" "$INSTDIR"
  WriteRegStr SHCTX "Software\${APP_KEY}" "InstallMode" "$MultiUser.InstallMode"

  ; The theme file type: its icon, and a double-click opens it in the editor.
  WriteRegStr SHCTX "Software\Classes\.lsth" "" "${FILE_CLASS}"
  WriteRegStr SHCTX "Software\Classes\.lsth" "Content Type" "application/x-larkspur-theme"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}" "" "Larkspur theme"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\DefaultIcon" "" '"$INSTDIR\${APP_EXE}",0'
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\${APP_EXE}" "%1"'
  WriteRegStr SHCTX "Software\Classes\Applications\${APP_EXE}\SupportedTypes" ".lsth" ""

  CreateDirectory "$SMPROGRAMS"
  CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Larkspur"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${APP_EXE}",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer picks up the new file type and its icon at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP_NAME}.lnk"
  ; Only what the installer put there; themes the user kept elsewhere stay.
  !include "${STAGE}/../uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ; The file type is removed only while it is still ours.
  ReadRegStr $0 SHCTX "Software\Classes\.lsth" ""
  StrCmp $0 "${FILE_CLASS}" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.lsth"
  DeleteRegKey SHCTX "Software\Classes\${FILE_CLASS}"
  DeleteRegKey SHCTX "Software\Classes\Applications\${APP_EXE}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\${APP_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
