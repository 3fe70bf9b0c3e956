#!/usr/bin/env bash
# Installs what is missing, builds every test with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs them, then gives the fuzzers a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSCRIVLET_SANITIZE=ON -DSCRIVLET_BENCH=OFF >/dev/null
cmake --build build-test -j2
ctest --test-dir build-test --output-on-failure -j2
if [ -x scripts/fuzz.sh ]; then
  bash scripts/fuzz.sh short
fi
