#!/usr/bin/env bash
# Installs what building, testing and running Orvix needs on Debian 12.
# With the argument "fuzz", also clang and libFuzzer's runtime (scripts/fuzz.sh).
set -euo pipefail
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-private-dev qt6-multimedia-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fontconfig fonts-dejavu-core
  desktop-file-utils appstream
  netcat-openbsd
)
if [ "${1:-}" = fuzz ]; then
  PACKAGES+=(clang-14 libclang-rt-14-dev)
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
