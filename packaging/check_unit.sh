#!/bin/bash
# Checks the kyrnd service as installed under ROOT (a DESTDIR or an unpacked
# package): systemd-analyze verify passes, and its security review rates it
# 2.5 or better. The unit is checked with its program and manual page taken
# from ROOT, since neither need be installed on this machine.
# Usage: check_unit.sh ROOT
set -euo pipefail
root=$(realpath "$1")
unit=$(find "$root" -path '*/lib/systemd/system/kyrnd.service')
[ -n "$unit" ] || { echo "FAIL: no kyrnd.service under $root"; exit 1; }
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
sed -E "s|^ExecStart=/|ExecStart=$root/|" "$unit" >"$tmp/kyrnd.service"
MANPATH=$(find "$root" -type d -path '*/share/man' | head -n 1) systemd-analyze verify "$tmp/kyrnd.service"
systemd-analyze security --offline=yes --threshold=25 "$tmp/kyrnd.service" | tail -n 1
