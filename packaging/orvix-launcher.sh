#!/bin/sh
# Starts Orvix in the player's own working directory (init.xml, maps/, logs/
# live there), copying in the data files it reads on first start. Pictures
# and sounds the player already has are never overwritten, and the install
# prefix is never written.
set -eu
bindir=$(dirname "$(readlink -f "$0")")
data="$(dirname "$bindir")/share/orvix/data"
work="${XDG_DATA_HOME:-$HOME/.local/share}/Orvix"
mkdir -p "$work"
cp -Rn "$data/." "$work/"
# The manual is ours, not the player's: keep it current after an upgrade.
cp -R "$data/manual/." "$work/manual/"
if [ "${ORVIX_PREPARE_ONLY:-}" = 1 ]; then
    echo "$work"
    exit 0
fi
exec "$bindir/orvix" --workdir "$work" "$@"
