#!/usr/bin/env bash
# Builds the fuzz targets (clang 14 with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into ./build-fuzz and runs each for a bounded
# time, starting from its seeds (fuzz/corpus/NAME) and the inputs that once
# crashed it (fuzz/regressions/NAME). Exits non-zero when a target crashes or
# fails a check; the input is then saved as build-fuzz/crashes/NAME-crash-*.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [NAME...]     (default: 15 s, every target)
#
# Inputs found along the way stay in build-fuzz/corpus/NAME, so a later or
# longer run goes on from there.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
shift || true
build=${QUORVEL_FUZZ_BUILD_DIR:-build-fuzz}
export CCACHE_BASEDIR="$PWD"

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DQUORVEL_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${QUORVEL_JOBS:-$(nproc)}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
fi

# Leak reports are off: Qt 5.15's own JSON parser leaks on a repeated key,
# and the frames of the uninstrumented Qt library cannot be told from ours.
# A failed allocation returns null, as the real allocator does, so Qt's
# out-of-memory exception (and what catches it) runs as in the program.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

mkdir -p "$build/crashes"
passed=0
failed=0
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work"
  seeds=("fuzz/corpus/$t")
  [ -d "fuzz/regressions/$t" ] && seeds+=("fuzz/regressions/$t")
  echo "== fuzz_$t for ${seconds}s"
  # libFuzzer checks its time limit only between inputs, so a run of slow
  # inputs could keep it going far beyond it: the run is stopped a minute
  # after its time. Stopped there, it counts as passed and names the slow
  # inputs it kept; a crash, or one input running past 25 s, fails.
  status=0
  timeout --signal=INT --kill-after=10 $((seconds + 60)) \
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
      "$work" "${seeds[@]}" >"$build/fuzz_$t.log" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$build/fuzz_$t.log" || true
    [ "$status" -eq 124 ] && echo "fuzz_$t stopped at its time limit; slow inputs:" \
      "$(ls "$build/crashes/$t-slow-unit-"* 2>/dev/null | tr '\n' ' ')"
    passed=$((passed + 1))
  else
    tail -n 60 "$build/fuzz_$t.log"
    echo "fuzz_$t FAILED; its input: $(ls -t "$build/crashes/$t-"* 2>/dev/null | head -n 1)"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
