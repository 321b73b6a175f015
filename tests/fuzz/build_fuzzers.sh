#!/usr/bin/env bash
# Builds the fuzz targets with clang (ZELMORA_FUZZ_ONLY: the libraries
# without widgets, so only Qt Core is needed) and the seed writer, in
# build/fuzz. Run it before tests/fuzz/run_fuzz.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/fuzz
mkdir -p build

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DZELMORA_FUZZ_ONLY=ON -DZELMORA_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target wave_fuzz settings_fuzz meter_fuzz make_fuzz_seeds
