#!/usr/bin/env bash
# Fuzzes one target built by tests/fuzz/build_fuzzers.sh for a bounded time,
# starting from a fresh seed corpus. Fails on any crash, sanitizer report,
# failed check or hang; the failing input is left in build/fuzz/<target>/ as
# crash-*, timeout-* or leak-*. Inputs found are kept between runs in
# build/fuzz/<target>/corpus-work.
#
# Usage: tests/fuzz/run_fuzz.sh wave|settings|meter [seconds]   (default 60)
set -euo pipefail

target="${1:-}"
seconds="${2:-60}"
case "$target" in
  wave) options=(-max_len=4096) ;;
  # Qt keeps settings files it has read in a cache, so nearly every input
  # leaves more allocations than it frees and libFuzzer's leak search would
  # run after each one, six times slower. The replay under AddressSanitizer
  # still looks for leaks.
  settings) options=(-max_len=2048 -detect_leaks=0 -dict=tests/fuzz/settings.dict) ;;
  meter) options=(-max_len=512) ;;
  *) target="" ;;
esac
if [[ -z "$target" ]] || ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 wave|settings|meter [seconds]" >&2
  exit 2
fi

cd "$(dirname "$0")/../.."
build=build/fuzz
fuzzer="$build/tests/fuzz/${target}_fuzz"
if [[ ! -x "$fuzzer" ]]; then
  echo "$fuzzer is missing: run tests/fuzz/build_fuzzers.sh first" >&2
  exit 1
fi
work="$build/$target"
rm -rf "$work/corpus"
"$build/tests/fuzz/make_fuzz_seeds" "$target" "$work/corpus"
mkdir -p "$work/corpus-work"

# The settings files of each input go to a folder of their own, in memory
# where there is one: every save waits for the disk.
scratch=$(mktemp -d "$( [[ -d /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/zelmora-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# New inputs go to corpus-work; the seeds are read only. -timeout turns a
# hang into a failure.
TMPDIR="$scratch" "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "${options[@]}" "$work/corpus-work" "$work/corpus"
