; whorlix-setup.exe: installs the saver for the current user only, into a folder that user owns (the settings
; file is written beside the program), lists it among the installed programs and chooses it as the screen saver.
; Built by installer/CMakeLists.txt, which passes SCR (the built whorlix.scr), RES (the res/ folder) and OUTFILE.
; /S installs silently with every default; the uninstaller takes /S too.
Unicode true
; The 64-bit stub: the saver is a 64-bit program, and the setup runs wherever it does.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
; No file time goes into the setup (the installed files get the time of the install): the same whorlix.scr gives
; the same setup, whenever it was built (scripts/release.sh). Debian's makensis takes no SOURCE_DATE_EPOCH.
SetDateSave off

; The version is written down once, in res/version.h.
!searchparse /file "${RES}/version.h" "#define WHORLIX_VERSION_MAJOR " V_MAJOR
!searchparse /file "${RES}/version.h" "#define WHORLIX_VERSION_MINOR " V_MINOR
!searchparse /file "${RES}/version.h" "#define WHORLIX_VERSION_PATCH " V_PATCH
!searchparse /file "${RES}/version.h" "#define WHORLIX_VERSION_BUILD " V_BUILD
!define VERSION "${V_MAJOR}.${V_MINOR}.${V_PATCH}.${V_BUILD}"
; What the settings dialog's version box shows.
!define PRODUCT_VERSION "${V_MAJOR}.${V_MINOR}"
!define PUBLISHER "Whorlix"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Whorlix"
!define DESKTOP_KEY "Control Panel\Desktop"
; Where the uninstall entry keeps the screen saver that setup replaced; absent when there was none.
!define REPLACED_VALUE "ReplacedScreenSaver"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}

Name "$(SaverName) ${PRODUCT_VERSION}"
BrandingText "Whorlix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Whorlix"
; Setup run again goes to the folder of the existing install.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Whorlix"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Whorlix Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 Whorlix Project"

!define MUI_ICON "${RES}/whorlix.ico"
!define MUI_UNICON "${RES}/whorlix.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The pages follow the user's display language: Japanese there, English everywhere else (the first is the default).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
; The saver's own name, as its string table gives it to the system's list.
LangString SaverName ${LANG_ENGLISH} "Whorlix"
LangString SaverName ${LANG_JAPANESE} "スクリーンセーバー【Whorlix】"
LangString ChooseSaver ${LANG_ENGLISH} "Use as the screen saver"
LangString ChooseSaver ${LANG_JAPANESE} "スクリーンセーバーとして使う"
LangString OpenSettings ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettings ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"

; $R0 = 1 where $1 names the installed saver, in the long or the short form setup writes, else 0.
!macro NamesOurSaver
    StrCpy $R0 0
    ${If} $1 != ""
        GetFullPathName /SHORT $R1 "$INSTDIR\whorlix.scr"
        ${If} $1 == "$INSTDIR\whorlix.scr"
        ${OrIf} $1 == $R1
            StrCpy $R0 1
        ${EndIf}
    ${EndIf}
!macroend

Section "$(SaverName)" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; Over an existing install only the program and the uninstaller are replaced: whorlix.ini stays.
    File "/oname=whorlix.scr" "${SCR}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "$(SaverName)"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\whorlix.scr"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(ChooseSaver)" SecChoose
    ; The system starts the saver from this value unquoted, so a path with a space goes in its short form.
    StrCpy $0 "$INSTDIR\whorlix.scr"
    ${StrStr} $2 $0 " "
    ${If} $2 != ""
        GetFullPathName /SHORT $0 $0
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
        DeleteRegValue HKCU "${UNINST_KEY}" "${REPLACED_VALUE}"
    ${Else}
        ; Setup run again over its own choice keeps what was there before the first.
        !insertmacro NamesOurSaver
        ${If} $R0 == 0
            WriteRegStr HKCU "${UNINST_KEY}" "${REPLACED_VALUE}" $1
        ${EndIf}
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE: running programs hear of the change.
    System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
SectionEnd

Function OpenScreenSaverSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "Uninstall"
    ; Only while the system still starts our saver: a saver chosen since then stays.
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro NamesOurSaver
    ${If} $R0 == 1
        ClearErrors
        ReadRegStr $2 HKCU "${UNINST_KEY}" "${REPLACED_VALUE}"
        ${If} ${Errors}
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${Else}
            WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
        ${EndIf}
    ${EndIf}
    Delete "$INSTDIR\whorlix.scr"
    Delete "$INSTDIR\whorlix.ini"
    ; What saving the settings keeps beside them: the file saves lock to take turns, and a temporary a cut save left.
    Delete "$INSTDIR\whorlix.ini.lock"
    Delete "$INSTDIR\whorlix.ini.tmp"
    Delete "$INSTDIR\uninstall.exe"
    ; Not recursive: the folder may have been chosen with other files in it, and those stay.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
