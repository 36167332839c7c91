#!/usr/bin/env bash
# Checks every tracked C++ source against .clang-format without changing it;
# exits non-zero, listing the findings, when any file is not formatted.
# Usage: scripts/check-format.sh   (CLANG_FORMAT=clang-format-14 picks the binary)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
CLANG_FORMAT="${CLANG_FORMAT:-clang-format}"
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if [ "${#files[@]}" -eq 0 ]; then
  exit 0
fi
"$CLANG_FORMAT" --dry-run --Werror "${files[@]}"
