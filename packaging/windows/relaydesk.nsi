; The Windows installer: the program folder, the registered logging service, a Start-menu
; entry and an uninstaller. Built by packaging/windows/CMakeLists.txt, which passes
;   RELAYDESK_VERSION  the project's version
;   RELAYDESK_FILES    the generated list of the program folder's files (files.nsh)
;   RELAYDESK_OUTFILE  the installer to write
; Silent use: setup.exe /S [/D=folder], Uninstall.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "${RELAYDESK_FILES}"

!define PRODUCT "Relaydesk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${RELAYDESK_VERSION}"
OutFile "${RELAYDESK_OUTFILE}"
RequestExecutionLevel admin
VIProductVersion "${RELAYDESK_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${RELAYDESK_VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${RELAYDESK_VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetRegView 64
    SetShellVarContext all
    ; The program writes beside itself (composition.ini, TEMP, its log), which Program Files
    ; forbids to a shop's user account: the default is a folder on the system drive.
    ${If} $INSTDIR == ""
        StrCpy $0 $WINDIR 2
        StrCpy $INSTDIR "$0\${PRODUCT}"
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Program"
    !insertmacro RelaydeskInstallFiles
    WriteUninstaller "$INSTDIR\Uninstall.exe"

!ifdef RELAYDESK_LOGGING_SERVICE
    ; Without its registration the program runs, but logs nothing.
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${RELAYDESK_LOGGING_SERVICE}"' $0
    ${If} $0 != 0
        DetailPrint "regsvr32 ${RELAYDESK_LOGGING_SERVICE}: exit code $0"
        MessageBox MB_OK|MB_ICONEXCLAMATION "The logging service could not be registered (regsvr32 exit code $0)." /SD IDOK
        SetErrorLevel 3
    ${EndIf}
!endif

    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\relaydesk.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${RELAYDESK_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\relaydesk.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there; what the program made in its folder (composition.ini,
; TEMP, the log) is the shop's and stays, and with it the folder.
Section "Uninstall"
!ifdef RELAYDESK_LOGGING_SERVICE
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${RELAYDESK_LOGGING_SERVICE}"'
!endif
    !insertmacro RelaydeskDeleteFiles
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
