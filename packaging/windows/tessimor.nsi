; The setup program for Windows: Tessimor's programs with their DLLs, a Start-menu entry for the launcher and
; an uninstaller that keeps the learner's notebook. Installs for the current user unless an administrator
; chooses all users, in English or Japanese after the system's language.
; scripts/windows builds it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.00 -DSTAGE=build-windows/stage
;            -DICON=build-windows/packaging/windows/tessimor.ico -DOUTFILE=Tessimor-1.00-setup.exe tessimor.nsi
Unicode true
; A 64-bit setup for the 64-bit programs: Program Files and the registry as they see them, not the views
; Windows gives 32-bit programs.
Target amd64-unicode
SetCompressor /SOLID lzma
; The notebook is never the installer's, so it is named where the pages say it is kept.
!define DATA "%APPDATA%\Tessimor"
; One key in the hive of the install mode: Add/Remove Programs' entry, which also tells a later setup and
; the uninstaller where and for whom Tessimor was installed.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessimor"

Name "Tessimor"
OutFile "${OUTFILE}"
BrandingText "Tessimor ${VERSION}"

; Per user by default, also from an administrator's account and with /S; all users (Program Files) on the
; mode page or with /AllUsers.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_MUI
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Tessimor"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "$(AllUsersNotPossible)"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "../../LICENSE"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tessimor-start.exe"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(KeptOnUninstall)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the fallback for a system in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString KeptOnUninstall ${LANG_ENGLISH} "Tessimor's programs and its Start-menu entry will be removed. \
Your notebook and its backups in ${DATA} are kept."
LangString KeptOnUninstall ${LANG_JAPANESE} "Tessimor のプログラムとスタート メニューの項目を削除します。\
単語帳とそのバックアップ (${DATA}) は削除されずに残ります。"
LangString AllUsersNotPossible ${LANG_ENGLISH} "Only an administrator can install Tessimor for all users \
of this computer."
LangString AllUsersNotPossible ${LANG_JAPANESE} "このコンピューターのすべてのユーザーに Tessimor を\
インストールできるのは管理者だけです。"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    File "/oname=LICENSE.txt" "../../LICENSE"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The entry runs in the programs' folder, where the launcher finds tessimor.exe.
    CreateShortcut "$SMPROGRAMS\Tessimor.lnk" "$INSTDIR\tessimor-start.exe" "" "$INSTDIR\tessimor-start.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tessimor"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tessimor maintainers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessimor-start.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only what the setup put there, by name, so that a folder chosen with other files in it keeps them; the
; notebook lives elsewhere and stays. scripts/windows stages these files and no others.
Section "Uninstall"
    Delete "$SMPROGRAMS\Tessimor.lnk"
    Delete "$INSTDIR\tessimor.exe"
    Delete "$INSTDIR\tessimor-db.exe"
    Delete "$INSTDIR\tessimor-start.exe"
    Delete "$INSTDIR\Qt6Core.dll"
    Delete "$INSTDIR\Qt6Gui.dll"
    Delete "$INSTDIR\Qt6Widgets.dll"
    Delete "$INSTDIR\sqlite3.dll"
    Delete "$INSTDIR\libstdc++-6.dll"
    Delete "$INSTDIR\libgcc_s_seh-1.dll"
    Delete "$INSTDIR\libwinpthread-1.dll"
    Delete "$INSTDIR\platforms\qwindows.dll"
    Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\platforms"
    RMDir "$INSTDIR\styles"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
