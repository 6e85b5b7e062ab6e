#!/usr/bin/env bash
# Fails when a layer of the core includes a header of a layer above it:
# foundation < model < webapi < Managers. Usage: check-layers.sh [core folder]
set -euo pipefail
core=${1:-"$(dirname "$0")/../QuorvelCore"}
layers=(foundation model webapi Managers)
status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  lower=${layers[$i]}
  [ -d "$core/$lower" ] || continue
  for ((j = i + 1; j < ${#layers[@]}; j++)); do
    upper=${layers[$j]}
    if hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$upper/" "$core/$lower" \
                --include='*.h' --include='*.cpp'); then
      printf '%s reaches up into %s:\n%s\n' "$lower" "$upper" "$hits" >&2
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "layers: no upward include under $core"
exit $status
