#!/usr/bin/env bash
# Records what the real output's callbacks report (PortAudio -> ALSA default
# -> a private PulseAudio null sink) together with a recording that shows
# where its frames really sounded, keeps both in DIR, and replays them
# through the output clock at 120 and 416 bpm. Replay a kept trace again
# after changing the clock with
#   output_trace replay DIR BPM
# Usage: bench/run_output_trace.sh [SECONDS, default 90] [DIR, default a new
# folder under /tmp]
# ZELMORA_BENCH_BUSY=1 keeps every core busy with other work meanwhile.
# Programs from $ZELMORA_BUILD_DIR (default build/release); build them with
#   cmake --build build/release --target output_trace sink_rate_meter
set -euo pipefail
seconds=${1:-90}
dir=${2:-$(mktemp -d /tmp/zelmora-trace.XXXXXX)}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZELMORA_BUILD_DIR:-$root/build/release}
trace=$build/bench/output_trace
meter=$build/tests/support/sink_rate_meter
for program in "$trace" "$meter"; do
  [[ -x $program ]] || { echo "error: $program is missing" >&2; exit 1; }
done
mkdir -p "$dir"

# shellcheck source=../tests/support/null_sink.sh
source "$root/tests/support/null_sink.sh"
zs_start 48000 $((seconds + 120))
busy_pids=""
stop_busy() {
  for pid in $busy_pids; do kill "$pid" 2>/dev/null || true; done
  busy_pids=""
}
trap 'stop_busy; zs_cleanup' EXIT
if [[ -n ${ZELMORA_BENCH_BUSY:-} ]]; then
  for _ in $(seq "$(nproc)"); do
    sh -c 'while :; do :; done' &
    busy_pids="$busy_pids $!"
  done
fi

zs_meter "$meter" "$dir/sink_rate" "$dir/arrivals"
zs_record "$dir/recording.wav"
# At normal priority, as the program runs; PortAudio's probing of ALSA and
# JACK is noisy.
rt=$ZS_RT
ZS_RT=""
zs_run "$trace" record "$seconds" "$dir/trace.csv" 2> >(grep -v -e '^ALSA lib' -e '^Cannot connect' -e '^jack' -e '^Jack' >&2)
ZS_RT=$rt
sleep 0.3
zs_stop "$ZS_RECORDER"
zs_meter_finish
stop_busy
echo "kept in $dir"
for bpm in 120 416; do
  "$trace" replay "$dir" "$bpm"
done
