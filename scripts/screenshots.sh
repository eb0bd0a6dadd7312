#!/usr/bin/env bash
# Remakes the README's pictures in docs/ inside a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(pwd)/${QV_BUILD_DIR:-build}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp -r "$build/home/." "$home/"
printf ' 1 \r\n' > "$home/country.vdm"
QV_VELANO_HOME="$home/" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
  "$build/tools/screenshots/qv-screenshots" docs
