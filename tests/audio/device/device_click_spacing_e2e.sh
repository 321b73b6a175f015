#!/usr/bin/env bash
# Plays clicks requested exactly 0.5 s apart through the real output
# (PortAudio -> ALSA default -> a private PulseAudio null sink), records the
# sink's monitor, and checks that no click is missing or extra and that the
# intervals are 0.5 s of steady_clock time, counted in frames of the sink's
# measured clock, to within a few frames.
# Usage: device_click_spacing_e2e.sh CLICK_PLAYER CLICK_CHECK SINK_RATE_METER
#
# The sink runs at the rate the output opens at (44100 Hz unless
# ZELMORA_E2E_SINK_RATE says otherwise), so no resampler sits between the
# frames the mixer places and the frames recorded. The sink's rate against
# steady_clock (some hundred ppm fast while a stream plays) is measured on a
# second monitor stream during the same run, and taken out.
#
# A virtual machine stalls now and then for tens of milliseconds; the output
# then underruns, its timeline slips, and the output's clock is thrown off
# for some seconds, which no program can prevent. That moves a minority of
# the intervals; a fault of the program (a rate not followed, starts on
# block boundaries, lost clicks) moves most of them. So the check is on the
# median interval (to within 6 frames) and on the worst one (50 ms), and a
# run that fails it is repeated; every attempt's figures are printed.
# ZELMORA_E2E_MEDIAN_FRAMES=1 ZELMORA_E2E_MAX_FRAMES=1 asks for every
# interval to the frame.
set -euo pipefail
player=${1:?usage: $0 CLICK_PLAYER CLICK_CHECK SINK_RATE_METER}
check=${2:?}
meter=${3:?}
clicks=60
interval=0.5
attempts=3
# Seconds the output runs before the first click. The sound server's
# timing reports take about 15 s to settle after a stream starts, and the
# mixer's clock fit follows them.
settle=${ZELMORA_E2E_SETTLE_SECONDS:-15}
median_frames=${ZELMORA_E2E_MEDIAN_FRAMES:-6}
max_frames=${ZELMORA_E2E_MAX_FRAMES:-2205}

# shellcheck source=tests/support/null_sink.sh
source "$(dirname "$0")/../../support/null_sink.sh"
zs_start "${ZELMORA_E2E_SINK_RATE:-44100}" 290
echo "private PulseAudio server in $ZS_DIR, sink $ZS_SINK at $ZS_RATE Hz"

for ((attempt = 1; attempt <= attempts; attempt++)); do
  echo "--- attempt $attempt of $attempts"
  zs_meter "$meter" "$ZS_DIR/sink_rate"
  zs_record "$ZS_DIR/clicks.wav"
  status=0
  # PortAudio's probing of ALSA and JACK is noisy; its log is shown on failure.
  zs_run "$player" "$clicks" "$interval" "$settle" 2>"$ZS_DIR/player.log" || status=$?
  sleep 0.3 # what the recorder still holds
  zs_stop "$ZS_RECORDER"
  zs_meter_finish
  if ((status != 0)); then
    cat "$ZS_DIR/player.log" >&2
    zs_die "click_player failed (exit status $status)"
  fi
  if zs_run "$check" "$ZS_DIR/clicks.wav" "$(cat "$ZS_DIR/sink_rate")" "$clicks" "$interval" \
    "$median_frames" "$max_frames"; then
    exit 0
  fi
  cp "$ZS_DIR/clicks.wav" "$ZS_DIR/clicks_failed_$attempt.wav"
done

ZS_KEEP=1 # read by the cleanup
echo "FAIL in all $attempts attempts; recordings and the server's log are in $ZS_DIR" >&2
exit 1
