#!/usr/bin/env bash
# Plays clicks 0.5 s apart through a private JACK server (dummy driver) whose
# server is stopped during the run, as a user stops it, and started again;
# later it is killed, as a crash would, and started again. Each time the
# player must be back on the server, connected to the system's playback
# ports, within 2 s of the server being there, and must end normally
# (neither waiting on the gone server nor aborting as the sound library
# shuts down), printing nothing on its error output. The clicks recorded
# after the second restart must be on their grid.
# Usage: jack_restart_e2e.sh CLICK_PLAYER CLICK_CHECK
set -euo pipefail
player=${1:?usage: $0 CLICK_PLAYER CLICK_CHECK}
check=${2:?}
clicks=60
interval=0.5
settle=2
median_frames=${ZELMORA_E2E_MEDIAN_FRAMES:-1}
max_frames=${ZELMORA_E2E_MAX_FRAMES:-2400}
back_within=${ZELMORA_E2E_BACK_WITHIN_SECONDS:-2}

# shellcheck source=tests/support/null_sink.sh
source "$(dirname "$0")/../../support/null_sink.sh"
# shellcheck source=tests/support/jack_server.sh
source "$(dirname "$0")/../../support/jack_server.sh"
zs_start_jack 48000 256 290
echo "private JACK server $JACK_DEFAULT_SERVER at $ZS_RATE Hz"

zs_spawn "$player" "$clicks" "$interval" "$settle" "JACK Audio Connection Kit: system" \
  2>"$ZS_DIR/player.log"
player_pid=$ZS_LAST
zs_jack_wait_connected Zelmora:out_L system:playback_1

for signal in TERM KILL; do
  sleep 5
  echo "--- the server stopped with SIG$signal, started again 1 s later"
  zs_jack_server_stop "$signal"
  sleep 1
  zs_jack_server_up
  zs_jack_wait_connected Zelmora:out_L system:playback_1
  zs_jack_wait_connected Zelmora:out_R system:playback_2
  back=$(awk -v a="$ZS_SERVER_UP_AT" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
  echo "playing again $back s after the server was there"
  awk -v t="$back" -v limit="$back_within" 'BEGIN { exit !(t <= limit) }' ||
    zs_die "back only after $back s (at most $back_within s)"
done

zs_jack_record "$ZS_DIR/after.wav" 8 Zelmora:out_L
wait "$ZS_RECORDER" || zs_die "jack_rec failed"
ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_RECORDER / /")
status=0
wait "$player_pid" || status=$?
ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $player_pid / /")
if ((status != 0)) || [[ -s $ZS_DIR/player.log ]]; then
  cat "$ZS_DIR/player.log" >&2
  zs_die "click_player ended with status $status (its error output is above)"
fi
zs_run "$check" "$ZS_DIR/after.wav" "$ZS_RATE" 0 "$interval" "$median_frames" "$max_frames"
