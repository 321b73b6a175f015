#!/usr/bin/env bash
# Plays clicks placed exactly 0.5 s of output frames apart through the real
# output (PortAudio -> ALSA default -> a private PulseAudio null sink),
# records the sink's monitor, and checks that no click is missing or extra
# and that the intervals are 0.5 s of the output's own frames.
# Usage: device_click_spacing_e2e.sh [--pipewire|--jack] CLICK_PLAYER CLICK_CHECK
#
# With --pipewire the sink is a private PipeWire's, reached through its
# PulseAudio server (pipewire-pulse) on the same path; the figures are the
# same.
#
# With --jack the player plays on the output "JACK Audio Connection Kit:
# system" of a private JACK server (dummy driver): it must connect itself to
# the system's playback ports, and its own output port is recorded, every
# frame the server runs.
#
# The player must print nothing on its error output: the sound libraries'
# probing of what is not there (JACK when no server runs, missing cards)
# stays quiet.
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
if [[ ${1:-} == --pipewire || ${1:-} == --jack ]]; then
  server=${1#--}
  shift
fi
player=${1:?usage: $0 [--pipewire|--jack] CLICK_PLAYER CLICK_CHECK}
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
output=()
if [[ $server == jack ]]; then
  # shellcheck source=tests/support/jack_server.sh
  source "$(dirname "$0")/../../support/jack_server.sh"
  zs_start_jack "${ZELMORA_E2E_SINK_RATE:-48000}" "${ZELMORA_E2E_JACK_PERIOD:-256}" 290
  output=("JACK Audio Connection Kit: system")
  echo "private JACK server $JACK_DEFAULT_SERVER at $ZS_RATE Hz, ${ZELMORA_E2E_JACK_PERIOD:-256} frames per period"
elif [[ $server == pipewire ]]; then
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
  status=0
  if [[ $server == jack ]]; then
    zs_spawn "$player" "$clicks" "$interval" "$settle" "${output[@]}" 2>"$ZS_DIR/player.log"
    player_pid=$ZS_LAST
    zs_jack_wait_port Zelmora:out_L
    # The whole run, from before the first click to after the last.
    zs_jack_record "$ZS_DIR/clicks.wav" "$(awk -v c="$clicks" -v i="$interval" -v s="$settle" \
      'BEGIN { printf "%d", s + c * i + 2 }')" Zelmora:out_L
    connections=$(jack_lsp -c Zelmora:)
    echo "$connections"
    for pair in L:1 R:2; do
      grep -A2 -xF "Zelmora:out_${pair%:*}" <<<"$connections" |
        grep -qxF "   system:playback_${pair#*:}" ||
        zs_die "Zelmora:out_${pair%:*} is not connected to system:playback_${pair#*:}"
    done
    wait "$player_pid" || status=$?
    ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $player_pid / /")
    wait "$ZS_RECORDER" || zs_die "jack_rec failed"
    ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_RECORDER / /")
  else
    zs_record "$ZS_DIR/clicks.wav"
    zs_run "$player" "$clicks" "$interval" "$settle" 2>"$ZS_DIR/player.log" || status=$?
    sleep 0.3 # what the recorder still holds
    zs_stop "$ZS_RECORDER"
  fi
  if ((status != 0)); then
    cat "$ZS_DIR/player.log" >&2
    zs_die "click_player failed (exit status $status)"
  fi
  if [[ -s $ZS_DIR/player.log ]]; then
    cat "$ZS_DIR/player.log" >&2
    zs_die "click_player wrote to its error output (above)"
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
