#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on the demo installation folder
# of the build tree (without a display it runs inside a virtual one).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build="$(pwd)/${QV_BUILD_DIR:-build}"
export QV_VELANO_HOME="$build/home/"
program="$build/app/qv-velano5"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
else
  echo "No display found: starting the program inside a virtual display (xvfb-run)." >&2
  exec xvfb-run -a "$program"
fi
