#!/usr/bin/env bash
# Fresh Debian 12 to a full test run: installs what is missing, builds, and runs
# every test (the tests start and stop the servers they need themselves).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
build=${QUORVEL_BUILD_DIR:-build}
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
