#!/usr/bin/env bash
# Plays clicks 0.5 s apart through the real output into the default sink of
# a private PulseAudio server, whose sinks then go away as devices do when
# unplugged:
# 1. the playing sink is unloaded while another is there: the server moves
#    the sound there, and the clicks go on;
# 2. that one, now the only sink, is unloaded too, and a new sink is loaded
#    a second later: the program must find the output lost, open it again
#    on the new sink and play there within 2 s, on its grid.
# The player must end normally. (PortAudio reports the failed stream on the
# error output itself, past any way of the program's to quieten it.)
# Usage: sink_unload_e2e.sh CLICK_PLAYER CLICK_CHECK
set -euo pipefail
player=${1:?usage: $0 CLICK_PLAYER CLICK_CHECK}
check=${2:?}
clicks=40
interval=0.5
settle=2
median_frames=${ZELMORA_E2E_MEDIAN_FRAMES:-1}
max_frames=${ZELMORA_E2E_MAX_FRAMES:-2400}
back_within=${ZELMORA_E2E_BACK_WITHIN_SECONDS:-2}

# shellcheck source=tests/support/null_sink.sh
source "$(dirname "$0")/../../support/null_sink.sh"
zs_start 48000 200
unset PULSE_SINK # the player plays to the server's default sink

# A null sink, kept awake as zs_start keeps its own; sets ZS_SINK.
add_sink() {
  ZS_SINK=$1
  pactl load-module module-null-sink sink_name="$ZS_SINK" rate="$ZS_RATE" >/dev/null
  zs_keep_awake "$ZS_SINK"
}
unload_sink() {
  local module
  module=$(pactl list short modules | awk -v s="sink_name=$1" '$3 == s { print $1 }')
  [[ -n $module ]] || zs_die "no module for $1"
  pactl unload-module "$module"
}
# Checks the recording FILE of a sink that was there from FROM
# (EPOCHREALTIME) on: its clicks all on their grid, and the first of them due
# within the limit of FROM (and at most one interval more, the wait for that
# click). Which clicks it holds: the last ones of the first DUE the player
# had played when the recording ended, as many as it caught.
check_sink() {
  local file=$1 from=$2 due_by=$3 caught first_due due back
  zs_run "$check" "$file" "$ZS_RATE" 0 "$interval" "$median_frames" "$max_frames" |
    tee "$file.log"
  grep -qx PASS "$file.log" || exit 1
  caught=$(grep -c '^onset' "$file.log")
  first_due=$(sed -n 's/^first click due at //p' "$ZS_DIR/player.log")
  due=$(awk -v f="$first_due" -v n="$due_by" -v c="$caught" -v i="$interval" \
    'BEGIN { printf "%.3f", f + (n - c) * i }')
  back=$(awk -v d="$due" -v u="$from" 'BEGIN { printf "%.2f", d - u }')
  echo "$caught clicks there, the first due $back s after it was there"
  awk -v t="$back" -v limit="$back_within" -v i="$interval" 'BEGIN { exit !(t <= limit + i) }' ||
    zs_die "it came after $back s (at most $back_within s + $interval s)"
}

first_sink=$ZS_SINK
add_sink "${first_sink}_second"
zs_sink_awake || zs_die "$ZS_SINK_DROWSY"
pactl set-default-sink "$first_sink"
zs_record "$ZS_DIR/second.wav"
second_recorder=$ZS_RECORDER

zs_spawn "$player" "$clicks" "$interval" "$settle" >"$ZS_DIR/player.log" 2>&1
player_pid=$ZS_LAST
sleep $((settle + 4))
echo "--- $first_sink unloaded, ${first_sink}_second there"
moved_at=$EPOCHREALTIME
unload_sink "$first_sink"
sleep 4
zs_stop "$second_recorder"
played=$(awk -v f="$(sed -n 's/^first click due at //p' "$ZS_DIR/player.log")" \
  -v t="$EPOCHREALTIME" -v i="$interval" 'BEGIN { printf "%d", (t - f) / i + 1 }')
check_sink "$ZS_DIR/second.wav" "$moved_at" "$played"

echo "--- ${first_sink}_second unloaded, ${first_sink}_third loaded a second later"
unload_sink "${first_sink}_second"
sleep 1
add_sink "${first_sink}_third"
pactl set-default-sink "$ZS_SINK"
zs_record "$ZS_DIR/third.wav"
zs_sink_awake || zs_die "$ZS_SINK_DROWSY"
third_at=$EPOCHREALTIME

status=0
wait "$player_pid" || status=$?
ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $player_pid / /")
sleep 0.3
zs_stop "$ZS_RECORDER"
if ((status != 0)); then
  cat "$ZS_DIR/player.log" >&2
  zs_die "click_player ended with status $status (its error output is above)"
fi
cat "$ZS_DIR/player.log"
check_sink "$ZS_DIR/third.wav" "$third_at" "$clicks"
