#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite, under
# AddressSanitizer and UndefinedBehaviorSanitizer: every test also checks
# for memory faults, leaks and undefined behaviour.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${1:-$ROOT/build}"; shift || true
bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh" "$BUILD_DIR" Debug -DORVIX_SANITIZE=ON "$@"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/.ci/lsan.supp}"
# The hostile-stream test feeds a smaller flood under the sanitizers.
export ORVIX_HOSTILE_MB="${ORVIX_HOSTILE_MB:-8}"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 300
