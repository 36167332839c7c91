#!/bin/sh
# A terminal client nobody here wrote (netcat) logs on, looks, moves and
# talks: it reads the text of the game and no markup or entities.
# Usage: terminal_nc.sh KYRND
set -eu
dir=$(mktemp -d)
# kyrnd saves as it stops: wait for it before removing its folder, and keep
# the test's own status.
trap 'status=$?; kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$dir"; exit "$status"' EXIT
: >"$dir/log" # there before the server opens it, for the reads below
"$1" --port 0 --data-dir "$dir" --bots 0 --hash-passes 1 --hash-memory 8 --failure-delay 0 2>"$dir/log" &
pid=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$dir/log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "kyrnd did not start"; cat "$dir/log"; exit 1; }
# Typed ahead, with the input held open as a person's is (an end of input
# would close the connection at once), until the goodbye of quit has come.
mkfifo "$dir/in"
timeout 30 nc 127.0.0.1 "$port" <"$dir/in" >"$dir/out" &
nc=$!
exec 3>"$dir/in"
printf 'demo1\norvixdemo\nlook\nw\nsay Ann'"'"'s <pad> & me\nquit\n' >&3
for _ in $(seq 200); do
  grep -q "Goodbye, Nova." "$dir/out" && break
  sleep 0.1
done
kill "$nc" 2>/dev/null || true
exec 3>&-
fail=0
for want in "Spaceport Concourse" "Obvious exits: north," "Commodity Exchange" "Grain " \
    "You say, \"Ann's <pad> & me\"" "Goodbye, Nova."; do
  grep -qF "$want" "$dir/out" || { echo "missing: $want"; fail=1; }
done
if grep -E "^<|&(amp|apos|lt|gt);" "$dir/out"; then
  echo "markup shown to a person"
  fail=1
fi
[ "$fail" = 0 ] || cat "$dir/out"
exit "$fail"
