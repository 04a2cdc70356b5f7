; Setup for Velmora Data Parser: the utility and its parser engine in one
; folder, the engine's folder recorded where the utility looks for it, the
; policy template, and an uninstaller that leaves the operator's
; configurations and databases. installer/CMakeLists.txt gives the defines:
;
; makensis -DVERSION=... -DVERSION_MAJOR=... -DVERSION_MINOR=... -DAPP_EXE=...
;   -DENGINE_EXE=... -DACCESS_DLL=... -DPOLICY_DEFINITIONS=... -DICON=...
;   -DOUTFILE=... -DUNINSTALLER_COPY=... -DCMAKE=... [-DSIGN_SCRIPT=...]
;   velmora_data_parser.nsi
Unicode true
; A 32-bit installer does nothing on a 64-bit-only system; the programs are 64-bit.
Target amd64-unicode

!define PRODUCT "Velmora Data Parser"
!define ENGINE_KEY "Software\Velmora\TarnParser"
!define SETTINGS_KEY "SOFTWARE\Velmora\VmTarnParser"
; Where the program remembers what each operator last used, per user.
!define USER_SETTINGS_KEY "Software\Velmora\VmTarnParser\Settings"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VelmoraDataParser"
!define CONFIG_FOLDER "C:\Velmora\VmTarnParser"
; The source the program writes its Application event log entries under.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\${PRODUCT}"

!include "MUI2.nsh"
!include "LogicLib.nsh"

; The setup program and the uninstaller it writes are signed as they are
; made, when the build signs; the uninstaller is kept beside setup as well.
!ifdef SIGN_SCRIPT
  !finalize '"${CMAKE}" "-DFILE=%1" -P "${SIGN_SCRIPT}"'
  !uninstfinalize '"${CMAKE}" "-DFILE=%1" -P "${SIGN_SCRIPT}"'
!endif
!uninstfinalize '"${CMAKE}" -E copy "%1" "${UNINSTALLER_COPY}"'

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Velmora"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Velmora. All rights reserved."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\VelmoraDataParser.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=VelmoraDataParser.exe" "${APP_EXE}"
  File "/oname=ParseTarn.exe" "${ENGINE_EXE}"
  ; The policy template, which administrators copy to their central store.
  SetOutPath "$INSTDIR\PolicyDefinitions"
  File "${POLICY_DEFINITIONS}\VelmoraDataParser.admx"
  SetOutPath "$INSTDIR\PolicyDefinitions\en-US"
  File "${POLICY_DEFINITIONS}\en-US\VelmoraDataParser.adml"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The utility joins the engine's name straight onto this value.
  WriteRegStr HKLM "${ENGINE_KEY}" "InstallDirectory" "$INSTDIR\"
  ; The program's own keys, as empty as its start-up makes them. An older
  ; version kept the remembered values here, for every operator at once.
  WriteRegNone HKLM "${SETTINGS_KEY}\Settings" "VelmoraSetup"
  DeleteRegValue HKLM "${SETTINGS_KEY}\Settings" "VelmoraSetup"
  DeleteRegValue HKLM "${SETTINGS_KEY}\Settings" "PreviewDataFile"
  DeleteRegValue HKLM "${SETTINGS_KEY}\Settings" "LastDatabase"
  ; Start-up opens those keys with full access: the Users group gets it
  ; there, and only there (src/win32/setup/users_access.cpp).
  InitPluginsDir
  File "/oname=$PLUGINSDIR\VelmoraSetupAccess.dll" "${ACCESS_DLL}"
  System::Call '$PLUGINSDIR\VelmoraSetupAccess.dll::GrantUsersAccess(i 0) i .r0 ?u'
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "Setup could not give the Users group access to HKEY_LOCAL_MACHINE\${SETTINGS_KEY}." /SD IDOK
    Abort
  ${EndIf}

  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\VelmoraDataParser.exe"
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7

  ; Where "Open Existing..." starts.
  CreateDirectory "${CONFIG_FOLDER}"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\VelmoraDataParser.exe" "" "$INSTDIR\VelmoraDataParser.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VelmoraDataParser.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\VelmoraDataParser.exe"
  Delete "$INSTDIR\ParseTarn.exe"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$INSTDIR\PolicyDefinitions\en-US\VelmoraDataParser.adml"
  RMDir "$INSTDIR\PolicyDefinitions\en-US"
  Delete "$INSTDIR\PolicyDefinitions\VelmoraDataParser.admx"
  RMDir "$INSTDIR\PolicyDefinitions"
  ; Folders go only when empty: configurations and databases stay.
  RMDir "$INSTDIR"
  RMDir "${CONFIG_FOLDER}"
  RMDir "C:\Velmora"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegValue HKLM "${ENGINE_KEY}" "InstallDirectory"
  DeleteRegKey /ifempty HKLM "${ENGINE_KEY}"
  ; The sample data file the preview remembered and the database the Results
  ; open on are the program's settings, not the operator's files: those of
  ; the user who uninstalls go (other users' profiles are not ours to open).
  DeleteRegValue HKCU "${USER_SETTINGS_KEY}" "PreviewDataFile"
  DeleteRegValue HKCU "${USER_SETTINGS_KEY}" "LastDatabase"
  DeleteRegKey /ifempty HKCU "${USER_SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Velmora\VmTarnParser"
  DeleteRegKey /ifempty HKCU "Software\Velmora"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}\Settings"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Velmora"
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
