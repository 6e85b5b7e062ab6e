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
      clang-14 libclang-rt-14-dev qttranslations5-l10n)

missing=()
for p in "${pkgs[@]}"; do
  # npm may come with a Node.js installed outside Debian's packages.
  if [ "$p" = npm ] && command -v npm >/dev/null; then continue; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  # Keep apt from starting prosody as a system-wide service; tests start their own.
  # The file goes again once apt is done (also when apt fails), and only when this
  # script made it: left behind it would stop apt from starting any service ever after.
  policy=${QUORVEL_POLICY_RC:-/usr/sbin/policy-rc.d}
  made_policy=""
  if [ ! -e "$policy" ]; then
    made_policy=1
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
    $SUDO chmod +x "$policy"
    trap '$SUDO rm -f "$policy"' EXIT
  fi
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
  if [ -n "$made_policy" ]; then
    $SUDO rm -f "$policy"
    trap - EXIT
  fi
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
