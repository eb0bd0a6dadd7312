#!/usr/bin/env bash
# Configures and builds the project into ./build (or $QV_BUILD_DIR): everything, or only the
# targets named in $QV_BUILD_TARGETS (separated by spaces). With QV_WARNINGS_AS_ERRORS=ON (the
# test build of CI) a compiler warning fails the build; otherwise warnings are only shown.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QV_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" \
  -DCMAKE_COMPILE_WARNING_AS_ERROR="${QV_WARNINGS_AS_ERRORS:-OFF}" "$@"
targets=()
for t in ${QV_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
