#!/bin/bash
# A local game: starts the bundled game server on 127.0.0.1:30003 (unless one
# already answers there), plays Orvix against it, and stops the server it
# started when Orvix closes. The server keeps its accounts beside Orvix's
# working directory.
set -eu
bindir=$(dirname "$(readlink -f "$0")")
work="${XDG_DATA_HOME:-$HOME/.local/share}/Orvix"
mkdir -p "$work/kyrnd-data"

answers() { (exec 3<>/dev/tcp/127.0.0.1/30003) 2>/dev/null; }
server=
if ! answers; then
    "$bindir/kyrnd" --data-dir "$work/kyrnd-data" >"$work/kyrnd.log" 2>&1 &
    server=$!
    for _ in $(seq 50); do answers && break; sleep 0.1; done
fi
status=0
"$bindir/orvix-launcher" "$@" || status=$?
[ -n "$server" ] && kill "$server" 2>/dev/null
exit "$status"
