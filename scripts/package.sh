#!/usr/bin/env bash
# Builds the Debian packages orvix_VERSION_ARCH.deb and kyrnd_VERSION_ARCH.deb
# into DIST_DIR, with Debian's hardening flags, then checks them: lintian
# must find no error, and the kyrnd service must pass systemd-analyze's
# verification and rate 2.5 or better in its security review.
# Usage: scripts/package.sh [BUILD_DIR] [DIST_DIR]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(realpath -m "${1:-$ROOT/build-deb}")"
DIST_DIR="$(realpath -m "${2:-$ROOT/dist}")"

bash "$ROOT/scripts/install-deps.sh" package
# Debian's compiler and linker flags (stack protector, fortify, relro, now);
# no -g, since the packages ship stripped programs.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debian keeps games' programs in /usr/games; only what the packages hold is built.
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
  -DORVIX_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target orvix kyrnd orvix_install_data orvix_man_pages

mkdir -p "$DIST_DIR"
rm -rf "$DIST_DIR"/orvix_*.deb "$DIST_DIR"/kyrnd_*.deb "$DIST_DIR/cpack" "$DIST_DIR/root"
(cd "$BUILD_DIR" && cpack -G DEB -B "$DIST_DIR/cpack" >/dev/null)
mv "$DIST_DIR"/cpack/*.deb "$DIST_DIR"/
rm -rf "$DIST_DIR/cpack"
debs=("$DIST_DIR"/orvix_*.deb "$DIST_DIR"/kyrnd_*.deb)

# The packages' contents, checked as Debian's archive would.
lintian --fail-on error --display-info --tag-display-limit 0 "${debs[@]}" | tee "$DIST_DIR/lintian.txt"

# The service, checked in the tree the packages install.
root="$DIST_DIR/root"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
bash "$ROOT/packaging/check_unit.sh" "$root"
rm -rf "$root"
ls -l "${debs[@]}"
