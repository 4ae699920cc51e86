#!/bin/sh
# Installs the build into a scratch folder and checks what a desktop gets: both programs, a valid menu entry
# that starts the launcher, the icons, manual pages that format cleanly, and a launcher that makes the
# notebook on the first start and then starts Tessimor.
# Usage: install_test.sh BUILD_DIR APP_ID HOOK
set -eu
build=$1
id=$2
hook=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
    echo "install_test: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$root/usr" >/dev/null
for program in bin/tessimor bin/tessimor-db libexec/tessimor/tessimor-start; do
    [ -x "$root/usr/$program" ] || fail "$program is not installed as a program"
done
for file in share/icons/hicolor/32x32/apps/tessimor.png share/icons/hicolor/128x128/apps/tessimor.png \
    share/doc/tessimor/copyright share/man/man1/tessimor.1.gz share/man/man1/tessimor-db.1.gz; do
    [ -s "$root/usr/$file" ] || fail "$file is missing"
done

entry=$root/usr/share/applications/$id.desktop
desktop-file-validate "$entry" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the software centres' entry is not valid"
grep -qx 'Name=Tessimor' "$entry" || fail "the menu entry is not named Tessimor"
grep -qx 'Icon=tessimor' "$entry" || fail "the menu entry does not show the icon"
grep -qx 'Exec=/.*/libexec/tessimor/tessimor-start' "$entry" ||
    fail "the menu entry does not start the launcher"

for page in tessimor tessimor-db; do
    warnings=$(gzip -dc "$root/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

# The first start from the menu: the notebook is made and backed up, then the window starts, closing as it
# shows (startup_test's hook); the output ends only when the window has.
export XDG_DATA_HOME="$root/data"
launcher=$root/usr/libexec/tessimor/tessimor-start
shown=$(ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=$hook timeout 60 "$launcher" 2>&1) || fail "$shown"
case $shown in *"shown: Form1"*) ;; *) fail "the launcher started no window: $shown" ;; esac
"$root/usr/bin/tessimor-db" check >/dev/null || fail "the first start left no sound notebook"
[ -f "$XDG_DATA_HOME/tessimor/backups/word-$(date +%F).mdb" ] || fail "the first start left no backup"
shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$launcher" 2>&1) && fail "ran without a display"
case $shown in *"no display found"*) ;; *) fail "no display, and the launcher did not say so: $shown" ;; esac
echo "install_test: ok"
