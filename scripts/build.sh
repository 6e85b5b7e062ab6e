#!/usr/bin/env bash
# Configures and builds into ./build (or $QUORVEL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUORVEL_BUILD_DIR:-build}
# Lets a compiler cache share objects between checkouts in different folders.
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" -j"${QUORVEL_JOBS:-$(nproc)}"
