#!/bin/sh
# Installs Tessimor silently, so for the current user, into a scratch Wine prefix; starts it as its Start-menu
# entry does, to a new notebook in the user's data folder (shown nowhere: Wine has no DISPLAY); uninstalls it
# as Add/Remove Programs would without asking: the notebook stays.
# Usage: install_wine_test.sh SETUP.exe
set -eu
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k || true; rm -rf "$WINEPREFIX"' EXIT
unset DISPLAY
fail() {
    echo "install_wine_test: $*" >&2
    exit 1
}
folder() {
    winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"
}

wine "$1" /S || fail "the setup failed"
programs=$(folder LOCALAPPDATA)/Programs/Tessimor
[ -s "$programs/LICENSE.txt" ] || fail "the licence is not installed in $programs"
entry="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Tessimor.lnk"
grep -qa 'Tessimor\\tessimor-start.exe' "$entry" || fail "no Start-menu entry that runs the launcher"

timeout 120 wine "$programs/tessimor-start.exe" || fail "the launcher failed"
data=$(folder APPDATA)/Tessimor
backup=$data/backups/word-$(date +%F).mdb
wine "$programs/tessimor-db.exe" check >/dev/null || fail "the first start left no sound notebook"
[ -f "$backup" ] || fail "the first start left no backup"
# A window that failed to start would have ended by now.
sleep 5
winedbg --command "info proc" | grep -q "'tessimor.exe'" || fail "Tessimor's window is not running"
wineserver -k

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessimor'
quiet=$(wine reg query "$key" /v QuietUninstallString | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
eval "wine $quiet" || fail "the uninstaller registered for Add/Remove Programs failed: $quiet"
wineserver -w
[ ! -e "$programs" ] || fail "the uninstaller left $(ls "$programs")"
[ ! -e "$entry" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "Add/Remove Programs still lists Tessimor"
[ -f "$data/word.mdb" ] && [ -f "$backup" ] || fail "the uninstaller took the notebook or its backup"
echo "install_wine_test: ok"
