#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it in its game folder.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DDUELMARK_TESTS=OFF -DDUELMARK_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build/game
exec ./duelmark "$@"
