#!/usr/bin/env bash
# Installs what is needed, builds Orvix (Release), prepares its working
# directory with the data files and manual it reads, starts the bundled local game
# server when it is not already running, and starts Orvix.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$ROOT/build-release"
RUN_DIR="${ORVIX_RUN_DIR:-$ROOT/run}"

bash "$ROOT/scripts/install-deps.sh"
# Only what this command runs: the tests are the test command's business.
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DORVIX_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target orvix kyrnd orvix_assets orvix_manual

mkdir -p "$RUN_DIR"
"$BUILD_DIR/tools/orvix_assets" "$RUN_DIR"
"$BUILD_DIR/tools/orvix_manual" "$RUN_DIR" "$ROOT/data/manual" "$ROOT/server/data/world.xml"

KYRND="$BUILD_DIR/server/kyrnd"
if [ -x "$KYRND" ]; then
  if ! (exec 3<>/dev/tcp/127.0.0.1/30003) 2>/dev/null; then
    mkdir -p "$RUN_DIR/kyrnd-data"
    nohup "$KYRND" --data-dir "$RUN_DIR/kyrnd-data" >"$RUN_DIR/kyrnd.log" 2>&1 &
    echo "Started the local game server kyrnd on 127.0.0.1:30003 (log: $RUN_DIR/kyrnd.log)"
  fi
fi

exec "$BUILD_DIR/src/orvix" --workdir "$RUN_DIR"
