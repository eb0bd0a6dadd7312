#!/usr/bin/env bash
# Builds the Debian package qv-velano5_<version>-<release>_<arch>.deb in a fresh build folder
# (./build-package, or $QV_PACKAGE_BUILD_DIR) and prints its path and size.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${QV_PACKAGE_BUILD_DIR:-build-package}"

# A fresh folder: only an earlier build folder (or an empty one) is cleared.
if [ -e "$build" ]; then
  if [ -f "$build/CMakeCache.txt" ] || [ -z "$(ls -A "$build")" ]; then
    rm -rf "$build"
  else
    echo "build-package: $build exists and is no build folder; not touching it" >&2
    exit 1
  fi
fi

cmake -S . -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=Release \
  -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j"${QV_JOBS:-$(nproc)}"
(cd "$build" && cpack -G DEB)

debs=("$build"/qv-velano5_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "build-package: expected one package in $build, found: ${debs[*]}" >&2
  exit 1
fi
deb="$(cd "$(dirname "${debs[0]}")" && pwd)/$(basename "${debs[0]}")"
echo "$deb $(stat -c %s "$deb") bytes ($(du -h "$deb" | cut -f1))"
