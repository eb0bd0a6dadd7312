#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, and any further packages
# named on the command line (e.g. the fuzz stage's compiler).
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-serialport-dev qt6-pdf-dev qt6-translations-l10n fonts-dejavu-core
          xvfb xauth x11-apps socat dpkg-dev file "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
