#!/usr/bin/env bash
# Installs what building, running and testing Quorvel needs on Debian 12.
# Safe to run again: apt only installs what is missing.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi

pkgs=(g++ cmake ninja-build pkg-config qtbase5-dev libqt5charts5-dev libqxmpp-dev
      libleveldb-dev libsnappy-dev qttools5-dev qttools5-dev-tools openssl libssl-dev
      xvfb xauth fonts-dejavu-core prosody prosody-modules lua-unbound)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Keep apt from starting prosody as a system-wide service; tests start their own.
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
  $SUDO chmod +x /usr/sbin/policy-rc.d
fi
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
