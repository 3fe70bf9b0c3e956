#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each one:
#   bash scripts/fuzz.sh short         about a minute in all (part of scripts/test.sh)
#   bash scripts/fuzz.sh long [SECS]   each target SECS seconds (default 3600)
# Every target starts from its committed seeds (fuzz/<target>/seeds) plus the
# corpus that earlier runs grew in build-fuzz/corpus/<target>. A crash leaves its
# input in build-fuzz/artifacts/ and makes the script fail.
# Set SCRIVLET_BUILD_LOCK to a lock file to build under flock.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-short}
case "$mode" in
  short) secs=55 ;;
  long) secs=${2:-3600} ;;
  *) echo "usage: $0 short | long [seconds]" >&2; exit 2 ;;
esac
bash scripts/deps.sh test
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIVLET_FUZZ=ON \
  -DSCRIVLET_SANITIZE=ON -DSCRIVLET_TESTS=OFF -DSCRIVLET_BENCH=OFF >/dev/null
lock=()
[ -n "${SCRIVLET_BUILD_LOCK:-}" ] && lock=(flock "$SCRIVLET_BUILD_LOCK")
targets=()
for dir in fuzz/*/; do
  [ -f "$dir/CMakeLists.txt" ] && targets+=("fuzz_$(basename "$dir")")
done
"${lock[@]}" cmake --build build-fuzz -j2 --target "${targets[@]}"
mkdir -p build-fuzz/artifacts
for t in "${targets[@]}"; do
  name=${t#fuzz_}
  corpus=build-fuzz/corpus/$name
  mkdir -p "$corpus"
  exe=$(find build-fuzz/fuzz -type f -name "$t" -perm -u+x | head -n1)
  dict=()
  [ -f "fuzz/$name/$name.dict" ] && dict=(-dict="fuzz/$name/$name.dict")
  echo "== $t for ${secs}s"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$exe" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ "${dict[@]}" \
      "$corpus" "fuzz/$name/seeds"
done
