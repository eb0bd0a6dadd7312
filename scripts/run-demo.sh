#!/usr/bin/env bash
# Installs what is needed, builds, starts a simulated module on a pseudo-terminal linked as
# port 1 of the demo installation folder, and starts the program on that folder (without a
# display it runs inside a virtual one). The simulated module stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only what runs here: the program (with its installation folder) and the simulated module.
QV_BUILD_TARGETS="qv-velano5 qv-module-sim" bash scripts/build.sh
build="$(cd "${QV_BUILD_DIR:-build}" && pwd)"
export QV_VELANO_HOME="$build/home/"
printf '1\r\n' > "$QV_VELANO_HOME/port.vdm"
"$build/tools/module-sim/qv-module-sim" --type "${QV_DEMO_TYPE:-0}" --master --version 501 \
  --link "$QV_VELANO_HOME/com1" --save "$build/demo-module.QV1" --button-every 3000:4 > "$build/demo-sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
for _ in $(seq 50); do [ -s "$build/demo-sim.out" ] && break; sleep 0.1; done
echo "Simulated module: $(cat "$build/demo-sim.out") linked as $QV_VELANO_HOME/com1 (port 1)" >&2
program="$build/app/qv-velano5"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$program"
else
  echo "No display found: starting the program inside a virtual display (xvfb-run)." >&2
  xvfb-run -a "$program"
fi
