#!/bin/bash
# Usage: test_install.sh BUILD_DIR APP_ID INSTALL_PREFIX
set -euo pipefail
build=$1; id=$2
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# Staged as a package is: DESTDIR over the configured prefix.
DESTDIR=$tmp/root cmake --install "$build" >/dev/null
prefix=$tmp/root$3

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/orvix bin/kyrnd bin/orvix-launcher bin/orvix-local \
         share/kyrnd/world.xml share/orvix/data/sounds/alert.wav share/orvix/data/pictures/about.bmp \
         share/orvix/data/manual/index.html share/orvix/data/manual/maps.html \
         share/applications/$id.desktop share/applications/$id.LocalGame.desktop \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png lib/systemd/system/kyrnd.service \
         share/doc/orvix/copyright share/doc/kyrnd/changelog.gz; do
    [ -e "$prefix/$f" ] || fail "missing $f"
done
for f in orvix kyrnd orvix-launcher orvix-local; do
    [ -x "$prefix/bin/$f" ] || fail "bin/$f is not executable"
done
desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "AppStream metadata"
bash "$(dirname "$0")/check_unit.sh" "$tmp/root" >/dev/null || fail "the kyrnd service"

# Each program answers --help and --version without a display, refuses an
# unknown option with status 2, and its manual page renders without a
# warning and describes every option its help lists.
unset DISPLAY WAYLAND_DISPLAY
for p in orvix kyrnd; do
    "$prefix/bin/$p" --version | grep -qx "$p [0-9.]*" || fail "$p --version"
    status=0
    "$prefix/bin/$p" --frobnicate 2>"$tmp/err" || status=$?
    [ "$status" = 2 ] && grep -q "frobnicate" "$tmp/err" || fail "$p took an unknown option (status $status)"
    page=$prefix/share/man/man6/$p.6.gz
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>"$tmp/warnings" >/dev/null || fail "man -l $p"
    [ ! -s "$tmp/warnings" ] || fail "$p.6: $(cat "$tmp/warnings")"
    MANWIDTH=80 man -l "$page" >"$tmp/page"
    for option in $("$prefix/bin/$p" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
        grep -qF -- "$option" "$tmp/page" || fail "$p.6 does not describe $option"
    done
done
# man finds every program's page where it is installed.
for p in orvix kyrnd orvix-launcher orvix-local; do
    MANPATH=$prefix/share/man MANWIDTH=80 man 6 "$p" 2>&1 | grep -q "^ *$p[ ,]" || fail "man $p"
done

# The installed server finds its world, runs, and stops cleanly on SIGTERM.
"$prefix/bin/kyrnd" --port 0 --data-dir "$tmp/kyrnd-data" --no-demo 2>"$tmp/kyrnd.log" &
server=$!
timeout 60 bash -c "until grep -q listening '$tmp/kyrnd.log'; do sleep 0.1; done" || fail "kyrnd: $(cat "$tmp/kyrnd.log")"
grep -q "world $prefix/share/kyrnd/world.xml" "$tmp/kyrnd.log" || fail "kyrnd's world: $(cat "$tmp/kyrnd.log")"
kill -TERM "$server"
wait "$server" || fail "kyrnd stopped with status $?"

# First start prepares the working directory; a second keeps the player's files.
export XDG_DATA_HOME=$tmp/home-data
work=$(ORVIX_PREPARE_ONLY=1 "$prefix/bin/orvix-launcher")
[ "$work" = "$XDG_DATA_HOME/Orvix" ] || fail "working directory is $work"
[ -f "$work/sounds/alert.wav" ] && [ -f "$work/pictures/about.bmp" ] || fail "data files not copied"
echo "the player's own" > "$work/pictures/about.bmp"
ORVIX_PREPARE_ONLY=1 "$prefix/bin/orvix-launcher" >/dev/null
grep -q "the player's own" "$work/pictures/about.bmp" || fail "a player's file was overwritten"
[ -z "$(find "$prefix" -newer "$work" -type f)" ] || fail "the launcher wrote into the prefix"
