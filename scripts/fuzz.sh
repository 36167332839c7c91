#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehavior-
# Sanitizer, LeakSanitizer) and runs each for a bounded time from its seed
# corpus. Any crash, leak, sanitizer report or broken property fails the run.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
#   ORVIX_FUZZ_TARGETS="fuzz_stream fuzz_init" limits the run to those targets.
#   ORVIX_FUZZ_WORKERS=N runs N workers per target (default: one per core, at most 4).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(realpath -m "${1:-$ROOT/build-fuzz}")"
SECONDS_PER_TARGET="${2:-45}"

bash "$ROOT/scripts/install-deps.sh" fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1 keeps assertions and readable stacks while running several times faster than -O0.
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DORVIX_FUZZ=ON -DORVIX_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" --target fuzz_targets -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$ROOT/.ci/lsan.supp"

# What the fuzzer learns here is kept in the build directory, not committed.
# One worker per core (at most four, as each window target holds about
# 500 MB): the workers share the corpus directory and take up each other's
# finds, so a target explores as many inputs as the machine can run.
workers="${ORVIX_FUZZ_WORKERS:-$(nproc)}"
[ "$workers" -gt 4 ] && workers=4
[ "$workers" -lt 1 ] && workers=1

status=0
while read -r target dict flags; do
  if [ -n "${ORVIX_FUZZ_TARGETS:-}" ] && [[ " $ORVIX_FUZZ_TARGETS " != *" $target "* ]]; then
    continue
  fi
  work="$BUILD_DIR/fuzz/run/$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  rm -f "$work"/fuzz-*.log
  echo "== $target: ${SECONDS_PER_TARGET}s, $workers workers"
  # Each worker writes its own fuzz-N.log in the working directory.
  if ! (cd "$work" && "$BUILD_DIR/fuzz/$target" "$work/corpus" "$ROOT/fuzz/corpus/$target" \
      -dict="$ROOT/fuzz/dict/$dict.dict" -max_total_time="$SECONDS_PER_TARGET" \
      -max_len=65536 -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" -jobs="$workers" -workers="$workers" $flags >"$work/log" 2>&1); then
    status=1
    echo "!! $target failed; the input is in $work/artifacts"
    for log in "$work"/fuzz-*.log; do
      echo "-- $log"
      tail -n 60 "$log"
    done
  else
    for log in "$work"/fuzz-*.log; do
      grep -E "^#[0-9]+.*DONE" "$log" || true
    done
    awk '/stat::number_of_executed_units/ { runs += $2 } /stat::average_exec_per_sec/ { rate += $2 }
      END { printf "all workers: %d runs, %d exec/s\n", runs, rate }' "$work"/fuzz-*.log
  fi
done <"$BUILD_DIR/fuzz/targets.txt"
exit $status
