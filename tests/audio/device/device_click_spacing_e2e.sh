#!/usr/bin/env bash
# Plays clicks placed exactly 0.5 s of output frames apart through the real
# output (PortAudio -> ALSA default -> a private PulseAudio null sink),
# records the sink's monitor, and checks that no click is missing or extra
# and that the intervals are 0.5 s of the output's own frames.
# Usage: device_click_spacing_e2e.sh [--pipewire] CLICK_PLAYER CLICK_CHECK
#
# With --pipewire the sink is a private PipeWire's, reached through its
# PulseAudio server (pipewire-pulse) on the same path; the figures are the
# same.
#
# The sink runs at the rate the output opens at (48000 Hz unless
# ZELMORA_E2E_SINK_RATE says otherwise), so no resampler sits between the
# frames the mixer places and the frames recorded, and every interval
# comes out to the frame.
#
# A virtual machine stalls now and then for tens of milliseconds; should a
# stall outlast the output's buffer, the output underruns and that one
# interval grows, which no program can prevent. A fault of the program
# (starts on block boundaries, a grid that drifts, lost clicks) moves most
# intervals. So the check is on the median interval (to the frame) and on
# the worst one (50 ms), and a run that fails it is repeated; every
# attempt's figures are printed.
set -euo pipefail
server=pulseaudio
if [[ ${1:-} == --pipewire ]]; then
  server=pipewire
  shift
fi
player=${1:?usage: $0 [--pipewire] CLICK_PLAYER CLICK_CHECK}
check=${2:?}
clicks=60
interval=0.5
attempts=3
# Seconds the output runs before the first click.
settle=${ZELMORA_E2E_SETTLE_SECONDS:-2}
median_frames=${ZELMORA_E2E_MEDIAN_FRAMES:-1}
max_frames=${ZELMORA_E2E_MAX_FRAMES:-2400}

# shellcheck source=tests/support/null_sink.sh
source "$(dirname "$0")/../../support/null_sink.sh"
if [[ $server == pipewire ]]; then
  # shellcheck source=tests/support/pipewire_sink.sh
  source "$(dirname "$0")/../../support/pipewire_sink.sh"
  zs_start_pipewire "${ZELMORA_E2E_SINK_RATE:-48000}" 290
  echo "private PipeWire in $ZS_DIR ($(pactl info | sed -n 's/^Server Name: //p')), sink $ZS_SINK at $ZS_RATE Hz"
else
  zs_start "${ZELMORA_E2E_SINK_RATE:-48000}" 290
  echo "private PulseAudio server in $ZS_DIR, sink $ZS_SINK at $ZS_RATE Hz"
fi

for ((attempt = 1; attempt <= attempts; attempt++)); do
  echo "--- attempt $attempt of $attempts"
  zs_record "$ZS_DIR/clicks.wav"
  status=0
  # PortAudio's probing of ALSA and JACK is noisy; its log is shown on failure.
  zs_run "$player" "$clicks" "$interval" "$settle" 2>"$ZS_DIR/player.log" || status=$?
  sleep 0.3 # what the recorder still holds
  zs_stop "$ZS_RECORDER"
  if ((status != 0)); then
    cat "$ZS_DIR/player.log" >&2
    zs_die "click_player failed (exit status $status)"
  fi
  # Judged in the output's own frames: the sink's nominal rate.
  if zs_run "$check" "$ZS_DIR/clicks.wav" "$ZS_RATE" "$clicks" "$interval" \
    "$median_frames" "$max_frames"; then
    exit 0
  fi
  cp "$ZS_DIR/clicks.wav" "$ZS_DIR/clicks_failed_$attempt.wav"
done

ZS_KEEP=1 # read by the cleanup
echo "FAIL in all $attempts attempts; recordings and the server's log are in $ZS_DIR" >&2
exit 1
