#!/usr/bin/env bash
# Plays clicks requested on a steady schedule at 120 and at 416 bpm through
# the real output (PortAudio -> ALSA default -> a private PulseAudio null
# sink), records the sink's monitor, and prints how evenly they came out.
# Usage: bench/run_click_timing.sh [SECONDS per tempo, default 60]
# The programs come from $ZELMORA_BUILD_DIR (default build/release); build
# them with: cmake --build build/release --target click_timing_bench sink_rate_meter
# ZELMORA_BENCH_SINK_RATE sets the sink's rate (default 48000, so the
# output's 44100 Hz is resampled on the way, as on most desktops).
# ZELMORA_BENCH_TRACE=1 also lists when the output ran dry and every
# interval more than a frame off.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZELMORA_BUILD_DIR:-$root/build/release}
bench=$build/bench/click_timing_bench
meter=$build/tests/support/sink_rate_meter
for program in "$bench" "$meter"; do
  if [[ ! -x $program ]]; then
    echo "error: $program is missing; build it with" >&2
    echo "  cmake --build $build --target click_timing_bench sink_rate_meter" >&2
    exit 1
  fi
done

# shellcheck source=tests/support/null_sink.sh
source "$root/tests/support/null_sink.sh"
zs_start "${ZELMORA_BENCH_SINK_RATE:-48000}" $((2 * seconds + 120))
echo "private PulseAudio server, sink $ZS_SINK at $ZS_RATE Hz; $seconds s per tempo"

for bpm in 120 416; do
  recording="$ZS_DIR/clicks_$bpm.wav"
  zs_meter "$meter" "$ZS_DIR/sink_rate_$bpm" "$ZS_DIR/arrivals_$bpm"
  zs_record "$recording"
  echo
  echo "$bpm bpm"
  # PortAudio's probing of ALSA and JACK is noisy; its log is shown on failure.
  zs_run "$bench" play "$bpm" "$seconds" 2>"$ZS_DIR/play_$bpm.log" ||
    { cat "$ZS_DIR/play_$bpm.log" >&2; zs_die "click_timing_bench play failed"; }
  grep '^TRACE' "$ZS_DIR/play_$bpm.log" || true
  sleep 0.3  # what the recorder still holds
  zs_stop "$ZS_RECORDER"
  zs_meter_finish
  clicks=$(awk -v s="$seconds" -v b="$bpm" 'BEGIN { printf "%d", s * b / 60 }')
  zs_run "$bench" analyze "$recording" "$(cat "$ZS_DIR/sink_rate_$bpm")" "$bpm" "$clicks" 44100 \
    "$ZS_DIR/arrivals_$bpm"
done
