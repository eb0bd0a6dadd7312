#!/usr/bin/env bash
# Remakes the README's pictures in docs/ inside a virtual display: builds the picture tool if
# needed and runs it on a throw-away copy of the demo installation folder.
# QV_BUILD_DIR names the build folder (default: build), relative to the source tree or absolute.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QV_BUILD_DIR:-build}"
case "$build" in /*) ;; *) build="$(pwd)/$build" ;; esac
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build"
cmake --build "$build" --target qv-screenshots -j"${QV_JOBS:-2}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp -r "$build/home/." "$home/"
printf ' 1 \r\n' > "$home/country.vdm"
QV_VELANO_HOME="$home/" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
  "$build/tools/screenshots/qv-screenshots" docs
