; Kestrel's Windows installer, for makensis 3.08 or later:
;
;   makensis -WX -V2 -DVERSION=1.0.0 -DSTAGE=<folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe>
;            "-DCOPYRIGHT=Copyright (C) ..." [-DICON=<kestrel.ico>] kestrel.nsi
;
; (tools/windows-installer.sh's kestrel_make_installer passes these, the copyright
; line taken from data/debian/copyright.)
; STAGE holds exactly the files to install, laid out as in the installation folder.
; FILES is the include that tools/windows-installer.sh (kestrel_write_installer_lists)
; makes from STAGE: the File lines of every staged file, and the Delete and RMDir lines
; that remove them, so that the uninstaller removes what the installer put there and
; nothing else. kestrel_make_installer writes it and passes -DFILES.

Unicode true
Target amd64-unicode

!ifndef VERSION | STAGE | FILES | OUTFILE | COPYRIGHT
    !error "Define VERSION, STAGE, FILES, OUTFILE and COPYRIGHT (-DVERSION=1.0.0 -DSTAGE=dir -DFILES=files.nsh ...)"
!endif
!include "${FILES}"

!define PRODUCT "Kestrel"
!define PUBLISHER "Kestrel developers"
!define PROGID "Kestrel.CameraFile"
!define CAPABILITIES "Software\Kestrel\Capabilities"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel"
; Set in the uninstall key when the installer made Kestrel the program that opens .cam
; files (because no other program was), so that the uninstaller gives .cam back.
!define CAM_DEFAULT_MARK "KestrelSetCamDefault"
!define SHCNE_ASSOCCHANGED 0x08000000
!define SHCNF_IDLIST 0

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Installed again, Kestrel goes where it already is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!ifdef ICON
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "Kestrel"
    !insertmacro KESTREL_INSTALL_FILES
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Kestrel.lnk" "$INSTDIR\kestrel.exe"

    ; The camera file type: a ProgID of Kestrel's own, offered for .cam files in
    ; "Open with", and Kestrel's capabilities for Default Apps.
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Kestrel camera file"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" '"$INSTDIR\kestrel.exe",1'
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\kestrel.exe" "%1"'
    WriteRegNone HKLM "Software\Classes\.cam\OpenWithProgids" "${PROGID}"
    WriteRegStr HKLM "${CAPABILITIES}" "ApplicationName" "${PRODUCT}"
    WriteRegStr HKLM "${CAPABILITIES}" "ApplicationDescription" "Editor for racing-simulator car camera files"
    WriteRegStr HKLM "${CAPABILITIES}\FileAssociations" ".cam" "${PROGID}"
    WriteRegStr HKLM "Software\RegisteredApplications" "${PRODUCT}" "${CAPABILITIES}"

    ; Apps & features.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\kestrel.exe",0'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; .cam files open in Kestrel on a double click only where no other program claims
    ; them; elsewhere Kestrel is just offered in "Open with". The mark in the uninstall
    ; key stays through a reinstall; .cam already naming Kestrel's ProgID without the
    ; mark (left by an older installation) is taken over, so the uninstaller clears it.
    ReadRegStr $0 HKLM "Software\Classes\.cam" ""
    ${If} $0 == ""
    ${OrIf} $0 == "${PROGID}"
        WriteRegStr HKLM "Software\Classes\.cam" "" "${PROGID}"
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${CAM_DEFAULT_MARK}" 1
    ${EndIf}

    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i ${SHCNF_IDLIST}, p 0, p 0)'
SectionEnd

Section "Uninstall"
    ; Registry: Kestrel's own keys and values only. .cam's default goes only if this
    ; installation set it and it still names Kestrel; .cam and its OpenWithProgids are
    ; removed only when nothing is left in them.
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "${CAM_DEFAULT_MARK}"
    ReadRegStr $0 HKLM "Software\Classes\.cam" ""
    ${If} $1 == 1
    ${AndIf} $0 == "${PROGID}"
        DeleteRegValue HKLM "Software\Classes\.cam" ""
    ${EndIf}
    DeleteRegValue HKLM "Software\Classes\.cam\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "Software\Classes\.cam\OpenWithProgids"
    DeleteRegKey /ifempty HKLM "Software\Classes\.cam"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegValue HKLM "Software\RegisteredApplications" "${PRODUCT}"
    DeleteRegKey HKLM "Software\Kestrel"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete "$SMPROGRAMS\Kestrel.lnk"

    !insertmacro KESTREL_REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"
    ; Folders go only when empty: files a user put there stay.
    RMDir "$INSTDIR"

    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i ${SHCNF_IDLIST}, p 0, p 0)'
SectionEnd
