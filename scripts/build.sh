#!/usr/bin/env bash
# Configures and builds the project into ./build (or $QV_BUILD_DIR): everything, or only the
# targets named in $QV_BUILD_TARGETS (separated by spaces).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QV_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@"
targets=()
for t in ${QV_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
