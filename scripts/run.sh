#!/usr/bin/env bash
# Fresh Debian 12 to a running program: installs what is missing, builds, starts.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
build=${QUORVEL_BUILD_DIR:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "$build/Quorvel/Quorvel" "$@"
fi
exec "$build/Quorvel/Quorvel" "$@"
