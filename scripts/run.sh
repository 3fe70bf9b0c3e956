#!/usr/bin/env bash
# Installs what is missing, builds Scrivlet and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVLET_TESTS=OFF -DSCRIVLET_BENCH=OFF >/dev/null
cmake --build build -j2 --target scrivlet
exec ./build/AppDir/scrivlet "$@"
