#!/bin/sh
# Installs Tessimor with its setup program, silently and so for the current user, into a scratch Wine
# prefix; starts it as the Start-menu entry does, to a new notebook in the user's data folder; then
# uninstalls it as Add/Remove Programs would without asking, which keeps the notebook.
# Without DISPLAY Wine shows the windows nowhere (Wine keeps QT_QPA_PLATFORM from Windows programs).
# Usage: install_wine_test.sh SETUP.exe
set -eu
setup=$(realpath "$1")
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k; rm -rf "$WINEPREFIX"' EXIT
unset DISPLAY
fail() {
    echo "install_wine_test: $*" >&2
    exit 1
}
# A folder Windows names by an environment variable, as a path here.
folder() {
    winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"
}

wineboot -i 2>/dev/null
wine "$setup" /S || fail "the setup failed"
wineserver -w
programs=$(folder LOCALAPPDATA)/Programs/Tessimor
for file in tessimor.exe tessimor-start.exe tessimor-db.exe Qt6Widgets.dll sqlite3.dll libstdc++-6.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll LICENSE.txt; do
    [ -s "$programs/$file" ] || fail "$file is not installed in $programs"
done
entry="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tessimor.lnk"
grep -qa 'Tessimor\\tessimor-start.exe' "$entry" || fail "no Start-menu entry that runs the launcher"

timeout 120 wine "$programs/tessimor-start.exe" || fail "the launcher failed"
data=$(folder APPDATA)/Tessimor
backup=$data/backups/word-$(date +%F).mdb
[ -f "$data/word.mdb" ] || fail "the first start made no notebook in $data"
wine "$programs/tessimor-db.exe" check >/dev/null || fail "the first start left no sound notebook"
[ -f "$backup" ] || fail "the first start left no backup"
# A window that failed to start would have ended by now.
sleep 5
winedbg --command "info proc" | grep -q "'tessimor.exe'" || fail "Tessimor's window is not running"
wineserver -k

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessimor'
quiet=$(wine reg query "$key" /v QuietUninstallString | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
uninstaller=${quiet#\"}
# The path in quotes, then the options (one word each).
wine "${uninstaller%%\"*}" ${quiet##*\" } || fail "the uninstaller failed"
wineserver -w
[ ! -e "$programs" ] || fail "the uninstaller left $(ls "$programs")"
[ ! -e "$entry" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "Add/Remove Programs still lists Tessimor"
[ -f "$data/word.mdb" ] && [ -f "$backup" ] || fail "the uninstaller took the notebook or its backup"
echo "install_wine_test: ok"
