; VigilSetup.exe: installs Vigil, Ringer.dll and OvHttpClient.dll (the i686 release binaries).
;
; Built by the CMake target VigilSetup, which passes
;   OUTFILE     the installer to write
;   FILES_NSH   the generated list of the installed files (installed_files.nsh)
;
; Silent use:
;   VigilSetup.exe /S [/D=C:\folder]        install (the folder, if given, must come last)
;   Uninstall.exe /S [/REMOVESETTINGS]      uninstall; the settings, reports and uptime data
;                                           are kept unless /REMOVESETTINGS is given
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Vigil"
!define VERSION "1.6.5"
!define COMPANY "Tessaly Ltd"
; The main window's caption: how both the installer and the uninstaller find a running Vigil.
!define MAIN_WINDOW "Vigil - Tessaly Ltd"
!define CLOSE_WAIT_MS 15000
; What the program reads and writes (all under HKEY_LOCAL_MACHINE, 32-bit view).
!define LOCALE_KEY "Software\Vigil Locale"
!define SETTINGS_KEY "Software\Vigil Settings"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Vigil"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vigil"
!define START_MENU "$SMPROGRAMS\Vigil"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\${PRODUCT}"
; A new install goes where the last one went (Path is that folder with a trailing backslash).
InstallDirRegKey HKLM "${LOCALE_KEY}" "Path"
BrandingText "${PRODUCT} ${VERSION} - ${COMPANY}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COMPANY}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Vigil now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartVigil

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Vigil's settings and site list, its reports and its uptime data are kept unless you tick the box below."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Vigil to close, as the user would with its close box (WM_CLOSE), and waits a
; bounded time for its process to end. Vigil refuses to close while it checks web sites; if it
; is still running when the wait is over, the user may retry, otherwise (and always when
; silent) the installer or uninstaller stops, so no file is replaced or removed under it.
!macro CLOSE_VIGIL_FUNCTION prefix
Function ${prefix}CloseVigil
    Push $0
    Push $1
    Push $2
    Push $3
    find:
    FindWindow $0 "" "${MAIN_WINDOW}"
    ${If} $0 <> 0
        DetailPrint "Closing the running Vigil"
        StrCpy $1 0
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        StrCpy $2 0
        ${If} $1 <> 0
            ; SYNCHRONIZE: enough to wait for the process to end.
            System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
        ${EndIf}
        System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
        ${If} $2 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS}) i .r3'
            System::Call 'kernel32::CloseHandle(p r2)'
        ${Else}
            ; No handle on the process: wait for the window instead.
            StrCpy $3 0
            wait:
            IsWindow $0 0 gone
            Sleep 250
            IntOp $3 $3 + 250
            IntCmp $3 ${CLOSE_WAIT_MS} gone wait gone
            gone:
        ${EndIf}
        FindWindow $0 "" "${MAIN_WINDOW}"
        ${If} $0 <> 0
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "Vigil is still running (it does not close while it checks web sites).$\r$\nClose Vigil, then choose Retry." \
                /SD IDCANCEL IDRETRY find
            DetailPrint "Vigil is still running: nothing was changed"
            SetErrorLevel 3
            Abort
        ${EndIf}
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_VIGIL_FUNCTION ""
!insertmacro CLOSE_VIGIL_FUNCTION "un."

!include "${FILES_NSH}"

Function .onInit
    SetShellVarContext all
    SetRegView 32
FunctionEnd

Function StartVigil
    ; Vigil makes its folder the current one itself; start it there anyway, as the shortcut does.
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Vigil.exe"'
FunctionEnd

; Registers a COM library in the installer's own (32-bit) process; a failure stops the install.
!macro REGISTER_LIBRARY file
    ClearErrors
    RegDLL "$INSTDIR\${file}"
    ${If} ${Errors}
        MessageBox MB_ICONSTOP "${file} could not be registered." /SD IDOK
        SetErrorLevel 4
        Abort
    ${EndIf}
!macroend

Section "Vigil" SecVigil
    SectionIn RO
    Call CloseVigil
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILES

    ; The program turns Path into its current folder and AddRunEntry turns it into the Run
    ; entry after removing its last character: the folder with one trailing backslash suits both.
    WriteRegStr HKLM "${LOCALE_KEY}" "Path" "$INSTDIR\"

    !insertmacro REGISTER_LIBRARY "Ringer.dll"
    !insertmacro REGISTER_LIBRARY "OvHttpClient.dll"

    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcut's working folder is the output folder, $INSTDIR.
    CreateDirectory "${START_MENU}"
    CreateShortcut "${START_MENU}\Vigil.lnk" "$INSTDIR\Vigil.exe"
    CreateShortcut "${START_MENU}\Uninstall Vigil.lnk" "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vigil.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; ---- Uninstaller: the sections run in this order.

Section "-un.Close Vigil"
    ; First, so that Vigil's own save on quit cannot bring the settings back afterwards.
    Call un.CloseVigil
SectionEnd

Section /o "un.Settings, reports and uptime data" SecRemoveSettings
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    Delete "$INSTDIR\FreqA.log"
    Delete "$INSTDIR\FreqB.log"
    Delete "$INSTDIR\FreqC.log"
    Delete "$INSTDIR\Frequency.htm"
    Delete "$INSTDIR\reports\report-*.log"
    RMDir "$INSTDIR\reports"
SectionEnd

Section "-un.Vigil"
    UnRegDLL "$INSTDIR\Ringer.dll"
    UnRegDLL "$INSTDIR\OvHttpClient.dll"

    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKLM "${LOCALE_KEY}" "Path"
    DeleteRegKey /ifempty HKLM "${LOCALE_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete "${START_MENU}\Vigil.lnk"
    Delete "${START_MENU}\Uninstall Vigil.lnk"
    RMDir "${START_MENU}"

    !insertmacro UNINSTALL_FILES
    Delete "$INSTDIR\Uninstall.exe"
    ; Last, and only when empty: files of the user's own in the folder stay where they are.
    RMDir "$INSTDIR"
SectionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 32
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecRemoveSettings}
    ${EndIf}
FunctionEnd
