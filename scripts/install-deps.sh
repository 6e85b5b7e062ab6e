#!/usr/bin/env bash
# Installs what building, running and testing Quorvel needs on Debian 12.
# Safe to run again: apt only installs what is missing.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi

pkgs=(g++ cmake ninja-build pkg-config qtbase5-dev libqt5charts5-dev libqxmpp-dev
      libleveldb-dev libsnappy-dev qttools5-dev qttools5-dev-tools openssl libssl-dev
      xvfb xauth fonts-dejavu-core prosody prosody-modules lua-unbound
      fonts-material-design-icons-iconfont fonts-noto-color-emoji unicode-data npm
      clang-14 libclang-rt-14-dev)

missing=()
for p in "${pkgs[@]}"; do
  # npm may come with a Node.js installed outside Debian's packages.
  if [ "$p" = npm ] && command -v npm >/dev/null; then continue; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  # Keep apt from starting prosody as a system-wide service; tests start their own.
  if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
    $SUDO chmod +x /usr/sbin/policy-rc.d
  fi
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Packages from npm are only fetched into a cache folder outside the work tree; the
# build unpacks and converts what it needs (Quorvel/resources/CMakeLists.txt).
cache=${QUORVEL_DEPS_DIR:-$HOME/.cache/quorvel-deps}
mkdir -p "$cache"
for pkg in vazirmatn@33.0.3; do
  tarball="$cache/${pkg%@*}-${pkg#*@}.tgz"
  if [ ! -s "$tarball" ]; then
    (cd "$cache" && npm pack "$pkg" --silent >/dev/null)
  fi
done
