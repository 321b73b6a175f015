#!/usr/bin/env bash
# The metronome's whole beat chain through the real output: the tick
# scheduler drives the mixer through PortAudio into a private PulseAudio
# null sink, whose monitor is recorded and analysed. Runs 120 and 416 bpm,
# then 120 bpm again while every core is kept busy by other work at normal
# priority, and prints onsets, missed or doubled beats, interval error and
# spread, and the CPU share the program used.
# Usage: bench/run_scheduler_chain.sh [SECONDS per run, default 60]
# Programs from $ZELMORA_BUILD_DIR (default build/release); build them with
#   cmake --build build/release --target scheduler_chain_bench click_timing_bench sink_rate_meter
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZELMORA_BUILD_DIR:-$root/build/release}
chain=$build/bench/scheduler_chain_bench
analyze=$build/bench/click_timing_bench
meter=$build/tests/support/sink_rate_meter
for program in "$chain" "$analyze" "$meter"; do
  [[ -x $program ]] || { echo "error: $program is missing" >&2; exit 1; }
done

# shellcheck source=../tests/support/null_sink.sh
source "$root/tests/support/null_sink.sh"
zs_start 48000 $((3 * seconds + 180))
echo "private PulseAudio server, sink $ZS_SINK at $ZS_RATE Hz; $seconds s per run"

busy_pids=""
stop_busy() {
  for pid in $busy_pids; do kill "$pid" 2>/dev/null || true; done
  busy_pids=""
}
trap 'stop_busy; zs_cleanup' EXIT

run() {
  local bpm=$1 label=$2 recording="$ZS_DIR/chain_$1_$2.wav" output beats
  zs_meter "$meter" "$ZS_DIR/sink_rate_$label" "$ZS_DIR/arrivals_$label"
  zs_record "$recording"
  echo
  echo "$bpm bpm, $label"
  output=$("$chain" play "$bpm" "$seconds" 2> >(grep -v -e '^ALSA lib' -e '^Cannot connect' -e '^jack' -e '^Jack' >&2))
  echo "$output" | grep -v '^BEATS'
  beats=$(echo "$output" | awk '/^BEATS/ { print $2 }')
  sleep 0.3
  zs_stop "$ZS_RECORDER"
  zs_meter_finish
  "$analyze" analyze "$recording" "$(cat "$ZS_DIR/sink_rate_$label")" "$bpm" "$beats" 44100 \
    "$ZS_DIR/arrivals_$label"
}

run 120 idle
run 416 idle
for _ in $(seq "$(nproc)"); do
  sh -c 'while :; do :; done' &
  busy_pids="$busy_pids $!"
done
run 120 busy
stop_busy
