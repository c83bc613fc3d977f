#!/usr/bin/env bash
# Builds the fuzz harnesses with clang and runs each in turn for SECONDS (default 45), one job at
# a time, starting from its committed seed corpus. Any crash, sanitizer report, leak or input
# slower than the time limit stops that harness; the input is left in FUZZ_OUT/<harness>/
# (crash-*, timeout-*, leak-*, oom-*), the other harnesses still run, and the exit is non-zero.
#   bash fuzz/run.sh [SECONDS] [HARNESS...]
# Environment: FUZZ_BUILD (build folder, default build-fuzz), FUZZ_OUT (findings and the grown
# corpus, default FUZZ_BUILD/out), FUZZ_TIMEOUT (seconds one input may take, default 30:
# the machine may be shared, and no capped input needs a tenth of it),
# FUZZ_NICE (nice level, default 0).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-45}
shift || true
build=${FUZZ_BUILD:-build-fuzz}
out=${FUZZ_OUT:-$build/out}
all=(borders division loops relations arcs arc_intersections coordinate csv dxf)
harnesses=("${@:-${all[@]}}")

bash scripts/deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for h in "${harnesses[@]}"; do
  # A kilobyte holds a hundred raw doubles or a thousand grid values: enough for every branch,
  # and the quadratic engines stay fast on it.
  max_len=1024
  case $h in csv | dxf) max_len=16384 ;; esac
  mkdir -p "$out/$h/corpus"
  log="$out/$h/log.txt"
  echo "fuzz_$h: ${seconds} s"
  if ! nice -n "${FUZZ_NICE:-0}" "$build/fuzz_$h" -max_total_time="$seconds" \
      -timeout="${FUZZ_TIMEOUT:-30}" -rss_limit_mb=3072 -max_len=$max_len \
      -print_final_stats=1 -artifact_prefix="$out/$h/" \
      "$out/$h/corpus" "fuzz/corpus/$h" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$h: FINDING (input and log in $out/$h/)"
    failed=$((failed + 1))
    continue
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 | sed "s/^/fuzz_$h: /" || true
done
echo "fuzz: $((${#harnesses[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
