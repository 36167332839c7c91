#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${1:-$ROOT/build}"; shift || true
bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh" "$BUILD_DIR" Debug "$@"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 300
