#!/usr/bin/env bash
# Runs one test program with a private home, data and runtime folder, so no test
# ever touches a real user's files, and removes them afterwards.
#
# Exit status: the program's own, except that a program that ended well after
# skipping its initTestCase (a missing server, font or device) exits with 77,
# which the test list reports as skipped. A program that failed stays failed
# whatever it skipped.
set -u
root=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-test.XXXXXX")
chmod 700 "$root"
mkdir -p "$root/home" "$root/data" "$root/config" "$root/runtime" "$root/cache"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_DATA_HOME="$root/data" XDG_CONFIG_HOME="$root/config"
export XDG_RUNTIME_DIR="$root/runtime" XDG_CACHE_HOME="$root/cache"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
"$@" | tee "$root/output"
rc=${PIPESTATUS[0]}
if [ $rc -eq 0 ] && grep -qE '^SKIP   : [A-Za-z_:]+::initTestCase\(\)' "$root/output"; then
  rc=77
fi
rm -rf "$root"
exit $rc
