; The Windows installer of Tourlog, made by scripts/windows.sh:
;   makensis -DVERSION=1.03 -DSTAGE=<the staged program> -DOUTFILE=<setup.exe> tourlog.nsi
; Installs for all users under Program Files, with a Start-menu entry and an uninstaller; /S installs and
; uninstalls without a question. Settings (%APPDATA%\Tourlog\tourlog.INI) and contest folders are the
; operator's and stay when Tourlog is uninstalled.

; a 64-bit installer, as the program: it runs where Tourlog runs, and Wine's 64-bit prefix runs it
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tourlog"

Name "Tourlog ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tourlog"
InstallDirRegKey HKLM "Software\Tourlog" "InstallDir"
RequestExecutionLevel admin

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tourlog.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--last-folder"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

Section "Tourlog"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tourlog.lnk" "$INSTDIR\tourlog.exe" "--last-folder"
    WriteRegStr HKLM "Software\Tourlog" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tourlog"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tourlog developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tourlog.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Tourlog.lnk"
    ; only what the installer put there: a contest folder kept inside by mistake is not taken with it
    Delete "$INSTDIR\tourlog.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Tourlog"
SectionEnd
