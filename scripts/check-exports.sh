#!/usr/bin/env bash
# Fails when a class or struct defined at the top level of a core header lacks
# QUORVELCORE_EXPORT (a class template needs none). Usage: check-exports.sh [core folder]
set -euo pipefail
core=${1:-"$(dirname "$0")/../QuorvelCore"}
missing=$(find "$core" -name '*.h' -print0 | sort -z | xargs -0 awk '
  FNR == 1 { previous = "" }
  /^(class|struct)[[:space:]]+[A-Za-z_]/ && $0 !~ /;[[:space:]]*$/ && $0 !~ /QUORVELCORE_EXPORT/ &&
      previous !~ /^template/ { print FILENAME ":" FNR ": " $0 }
  { previous = $0 }')
if [ -n "$missing" ]; then
  printf 'without QUORVELCORE_EXPORT (include "foundation/quorvelcore_export.h"):\n%s\n' "$missing" >&2
  exit 1
fi
echo "exports: every class under $core is marked"
