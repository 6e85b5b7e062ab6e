#!/usr/bin/env bash
# Builds the scenario tests labelled "sanitize" with AddressSanitizer and
# UndefinedBehaviorSanitizer into ./build-asan, only the targets they need,
# and runs them. A memory fault or undefined behaviour ends the test program
# with a report and fails the run.
#
#   scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUORVEL_SANITIZE_BUILD_DIR:-build-asan}
export CCACHE_BASEDIR="$PWD"
tests=(tst_hostilefiles)

# Leak reports are off: Qt 5.15 keeps some allocations to the end on purpose,
# and the frames of the uninstrumented Qt library cannot be told from ours.
# The build's own tools (resource and catalogue generators) run instrumented
# too, so this holds for the build as well.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

cmake -S . -B "$build" -G Ninja -DQUORVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${QUORVEL_JOBS:-$(nproc)}" --target "${tests[@]}"

cd "$build"
ctest --output-on-failure -L sanitize "$@"
