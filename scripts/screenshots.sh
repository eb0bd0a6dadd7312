#!/usr/bin/env bash
# Remakes the README's pictures in docs/ inside a virtual display: builds the picture tool if
# needed and runs it on a throw-away copy of the demo installation folder. Among them is the
# installation picture: a small house's installation in the side panel beside the module in hand.
# Fails when a picture the README shows was not remade by this run.
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
touch "$home/.started"
QV_VELANO_HOME="$home/" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" \
  "$build/tools/screenshots/qv-screenshots" docs
stale=0
for picture in $(grep -o '](docs/[A-Za-z0-9_.-]*\.png)' README.md | sed 's/^](//; s/)$//' | sort -u); do
  if [ ! "$picture" -nt "$home/.started" ]; then
    echo "screenshots.sh: the README shows $picture, which this run did not make" >&2
    stale=1
  fi
done
exit "$stale"
