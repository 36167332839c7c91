#!/usr/bin/env bash
# Usage: scripts/build.sh BUILD_DIR BUILD_TYPE [extra cmake arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$1"; BUILD_TYPE="$2"; shift 2
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
