#!/usr/bin/env bash
# Moving the sound to another output while it plays: clicks counted in the
# output's frames go to a private PulseAudio null sink through ALSA's
# "default", move to ALSA's "pulse" (another device of PortAudio's that
# reaches the same sink) and back; the sink's monitor is recorded. Every
# click must sound once, every interval but the two across the moves must
# stay exact to the frame (median), and no interval may grow by more than
# 200 ms (the time a move takes).
set -euo pipefail
player=${1:?usage: $0 OUTPUT_MOVE_PLAYER CLICK_CHECK}
check=${2:?}
clicks=30
interval=0.5
target=${ZELMORA_E2E_MOVE_TARGET:-ALSA: pulse}

# shellcheck source=tests/support/null_sink.sh
source "$(dirname "$0")/../../support/null_sink.sh"
zs_start 48000 200

for attempt in 1 2 3; do
  echo "--- attempt $attempt"
  zs_record "$ZS_DIR/moves.wav"
  status=0
  zs_run "$player" "$clicks" "$interval" 2 "$target" 2>"$ZS_DIR/player.log" || status=$?
  sleep 0.3
  zs_stop "$ZS_RECORDER"
  ((status == 77)) && exit 77
  if ((status != 0)); then
    cat "$ZS_DIR/player.log" >&2
    zs_die "output_move_player failed (exit status $status)"
  fi
  zs_run "$check" "$ZS_DIR/moves.wav" "$ZS_RATE" "$clicks" "$interval" 1 9600 && exit 0
done
ZS_KEEP=1
echo "FAIL in all attempts; the recording is in $ZS_DIR" >&2
exit 1
