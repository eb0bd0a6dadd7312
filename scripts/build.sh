#!/usr/bin/env bash
# Configures and builds the whole project into ./build (or $QV_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QV_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$build" -j"$(nproc)"
