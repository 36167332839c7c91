#!/bin/bash
# Usage: test_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1; id=$2
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/orvix bin/kyrnd bin/orvix-launcher bin/orvix-local \
         share/orvix/world.xml share/orvix/data/sounds/alert.wav share/orvix/data/pictures/about.bmp \
         share/orvix/data/manual/index.html share/orvix/data/manual/maps.html \
         share/applications/$id.desktop share/applications/$id.LocalGame.desktop \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png; do
    [ -e "$prefix/$f" ] || fail "missing $f"
done
for f in orvix kyrnd orvix-launcher orvix-local; do
    [ -x "$prefix/bin/$f" ] || fail "bin/$f is not executable"
done
desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop entries"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "AppStream metadata"

# First start prepares the working directory; a second keeps the player's files.
export XDG_DATA_HOME=$tmp/home-data
work=$(ORVIX_PREPARE_ONLY=1 "$prefix/bin/orvix-launcher")
[ "$work" = "$XDG_DATA_HOME/Orvix" ] || fail "working directory is $work"
[ -f "$work/sounds/alert.wav" ] && [ -f "$work/pictures/about.bmp" ] || fail "data files not copied"
echo "the player's own" > "$work/pictures/about.bmp"
ORVIX_PREPARE_ONLY=1 "$prefix/bin/orvix-launcher" >/dev/null
grep -q "the player's own" "$work/pictures/about.bmp" || fail "a player's file was overwritten"
[ -z "$(find "$prefix" -newer "$work" -type f)" ] || fail "the launcher wrote into the prefix"
