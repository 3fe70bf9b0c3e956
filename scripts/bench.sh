#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks optimised, and runs each one
# on data it generates in a temporary folder; every figure is printed beside its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh bench
cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF -DSCRIVLET_BENCH=ON >/dev/null
cmake --build build-rel -j2
for b in build-rel/bench/*/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
