#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
needed=(cmake ninja-build g++ pkg-config libboost-dev libsqlite3-dev sqlite3 libpugixml-dev nlohmann-json3-dev
        libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
        qt6-base-dev   # the desktop host sewercalc-gui and its tests (offscreen platform)
        gdal-bin)      # ogrinfo/ogr2ogr: tests check that GIS tools read drawings and that their layers survive saves
missing=()
for p in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
