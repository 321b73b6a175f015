#!/usr/bin/env bash
# Builds the wave fuzzer with clang (ZELMORA_FUZZ_ONLY, no Qt needed), writes
# a fresh seed corpus and fuzzes for a bounded time. Fails on any crash,
# sanitizer report, failed check or hang; the failing input is left in
# build/fuzz/ as crash-*, timeout-* or leak-*.
#
# Usage: tests/fuzz/run_wave_fuzz.sh [seconds]   (default 60)
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

cd "$(dirname "$0")/../.."
build=build/fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DZELMORA_FUZZ_ONLY=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2 --target wave_fuzz make_wave_seeds

rm -rf "$build/corpus"
"$build/tests/fuzz/make_wave_seeds" "$build/corpus"
mkdir -p "$build/corpus-work"

# New inputs go to corpus-work, which is kept between runs; the seeds are
# read only. -timeout turns a hang into a failure.
"$build/tests/fuzz/wave_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/" "$build/corpus-work" "$build/corpus"
