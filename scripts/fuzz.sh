#!/usr/bin/env bash
# Fuzzes the model file reader with libFuzzer under the address and undefined-behaviour
# sanitizers for the given time (seconds; 60 by default), seeded with the sample and benchmark
# models and the inputs kept from earlier findings. The corpus grows in build/fuzz/corpus and
# is kept between runs; a fault leaves its input in build/fuzz/findings/ and fails the script.
# Usage: scripts/fuzz.sh [SECONDS] [libFuzzer options...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift

scripts/install-deps.sh build test fuzz

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DMARDO_WERROR=ON -DMARDO_GUI=OFF -DMARDO_FUZZ=ON -DMARDO_SANITIZE=address,undefined \
      -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$build" --target mardo-fuzz-model

mkdir -p "$build/corpus" "$build/seeds" "$build/findings"
cp examples/*.mrd bench/models/*.mrd "$build/seeds/"
find tests/data/fuzz -type f ! -name README.md -exec cp {} "$build/seeds/" \;

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/tests/fuzz/mardo-fuzz-model" -max_total_time="$seconds" -max_len=8192 -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/" "$@" \
    "$build/corpus" "$build/seeds"
