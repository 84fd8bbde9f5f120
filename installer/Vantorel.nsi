; The player's installer of Vantorel: the launcher, Quillon.dll beside it, the 32-bit Quillon.dll
; in x86\ (for 32-bit script hosts) and the read-me its first run shows. Built by the installer
; target of the build (scripts/package.sh), which defines
;   VERSION         the product version, major.minor.revision
;   STAGE           the folder holding the stripped Vantorel.exe, Quillon.dll, x86\Quillon.dll and readme.txt
;   OUTFILE         the installer to write
;   REGISTRATION32  the include generated from the type library's source that registers the 32-bit library
; Silent use: /S, /REGISTER to register Quillon for script clients, /D=<folder> last; the
; uninstaller takes /S and /REMOVESETTINGS.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include "${REGISTRATION32}"

!define PRODUCT "Vantorel"
!define PUBLISHER "Brannock"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define APP_PATH_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\${PRODUCT}.exe"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PUBLISHER}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The first run shows the read-me in its welcome dialog.
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PRODUCT}.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}/${PRODUCT}.exe"
    File "${STAGE}/Quillon.dll"
    File "${STAGE}/readme.txt"
    ; Never run here: a 32-bit library cannot be loaded by this 64-bit installer.
    SetOutPath "$INSTDIR\x86"
    File "${STAGE}/x86/Quillon.dll"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "${MENU_FOLDER}"
    CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\${PRODUCT}.exe"
    CreateShortcut "${MENU_FOLDER}\${PRODUCT} Options.lnk" "$INSTDIR\${PRODUCT}.exe" "/OPTIONS"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PRODUCT}.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The launcher finds Quillon through its manifest; script clients need the classes registered:
; 64-bit hosts the library beside the launcher, 32-bit hosts the one in x86\.
Section /o "Register Quillon for script clients" SecRegister
    Call RegisterQuillon32
    Call RegisterQuillon64
SectionEnd

!include "${__FILEDIR__}/QuillonReference.nsh"

Section -EstimatedSize
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${PRODUCT}" UnSecProgram
    SectionIn RO
    Call un.UnregisterQuillon

    Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
    Delete "${MENU_FOLDER}\${PRODUCT} Options.lnk"
    RMDir "${MENU_FOLDER}"

    ; The launcher registers its path on its first run; the entry must not outlive the program.
    ReadRegStr $0 HKLM "${APP_PATH_KEY}" "Path"
    ${If} $0 == $INSTDIR
        DeleteRegKey HKLM "${APP_PATH_KEY}"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete "$INSTDIR\${PRODUCT}.exe"
    Delete "$INSTDIR\Quillon.dll"
    Delete "$INSTDIR\x86\Quillon.dll"
    RMDir "$INSTDIR\x86"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\${PRODUCT}.log"
    Delete "$INSTDIR\uninstall.exe"
    !insertmacro QUILLON_REFERENCE_REMOVE
    RMDir "$INSTDIR"
    ; The maker's folder of the default location, when nothing else is left in it.
    ${GetParent} "$INSTDIR" $0
    ${GetFileName} "$0" $1
    ${If} $1 == "${PUBLISHER}"
        RMDir "$0"
    ${EndIf}
SectionEnd

; Off by default, so a silent uninstall keeps them. The shared System and User keys go only when
; no other application of the maker keeps settings beside Vantorel's.
Section /o "un.Remove my settings" UnSecSettings
    DeleteRegKey HKCU "Software\${PUBLISHER}\Apps\${PRODUCT}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}\Apps"
    ClearErrors
    EnumRegKey $0 HKCU "Software\${PUBLISHER}\Apps" 0
    ${If} ${Errors}
        DeleteRegKey HKCU "Software\${PUBLISHER}\System"
        DeleteRegKey HKCU "Software\${PUBLISHER}\User"
        DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
    ${EndIf}
SectionEnd

; Written from the generated rows in the 32-bit registry view: these machines cannot run the
; 32-bit library's own DllRegisterServer, and the rows are the same as the 64-bit one writes.
Function RegisterQuillon32
    !insertmacro QuillonRegister32 "$INSTDIR\x86\Quillon.dll" "$INSTDIR\x86\"
    ${If} ${Errors}
        !insertmacro QuillonUnregister32
        DetailPrint "The 32-bit Quillon.dll could not be registered."
        SetErrorLevel 2
    ${Else}
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Quillon32Registered" 1
    ${EndIf}
FunctionEnd

Function RegisterQuillon64
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Quillon.dll"' $0
    ${If} $0 == 0
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "QuillonRegistered" 1
    ${Else}
        DetailPrint "Quillon.dll could not be registered (regsvr32 ended with $0)."
        SetErrorLevel 2
    ${EndIf}
FunctionEnd

; Only what this installation registered. The 64-bit library goes first: it leaves the type
; library's shared key to the 32-bit entry, which then takes the rest.
Function un.UnregisterQuillon
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "QuillonRegistered"
    ${If} $0 == 1
        ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\Quillon.dll"'
    ${EndIf}
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Quillon32Registered"
    ${If} $0 == 1
        !insertmacro QuillonUnregister32
    ${EndIf}
FunctionEnd

Function .onInit
    SetShellVarContext all
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REGISTER" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecRegister} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${UnSecSettings} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
