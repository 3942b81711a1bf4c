#!/usr/bin/env bash
# Installs the Debian packages the game builds and runs with; does nothing when all are present.
set -euo pipefail
packages=(libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev libsdl-net1.2-dev
  fonts-dejavu-core pkg-config cmake g++ make libstb-dev libgtest-dev libgmock-dev libbenchmark-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then apt=(apt-get); else apt=(sudo apt-get); fi
"${apt[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -qq "${missing[@]}"
