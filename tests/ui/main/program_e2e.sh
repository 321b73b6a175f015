#!/usr/bin/env bash
# The whole program, end to end: started on a private X server with a fresh
# settings folder and a private PulseAudio null sink as its sound card,
# Space starts it, the sink's monitor is recorded, and the recording must
# hold the default bar at the default tempo (120 bpm, bell on beat one).
# Esc then ends the program, which must leave its settings behind.
# Usage: program_e2e.sh ZELMORA PROGRAM_E2E_CHECK
set -euo pipefail
program=${1:?usage: $0 ZELMORA PROGRAM_E2E_CHECK}
check=${2:?}
here=$(dirname "$0")

# shellcheck source=../../support/null_sink.sh
source "$here/../../support/null_sink.sh"
zs_start "${ZELMORA_E2E_SINK_RATE:-44100}" 120
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
# The program finds the sound server through PULSE_SERVER, which stays; the
# X session brings its own runtime and settings folders.
xs_start
trap 'xs_cleanup; zs_cleanup' EXIT

xs_run_program "$program"
pid=$XS_PID
[[ -z $XS_BOX_SEEN ]] || xs_die "the program found no sound card"

# The output follows the sink's clock from the timing of its blocks; give
# it a few seconds, as a user takes before pressing Space.
sleep "${ZELMORA_E2E_SETTLE_SECONDS:-3}"
zs_record "$ZS_DIR/program.wav"
sleep 0.5
xdotool windowfocus --sync "$XS_WINDOW" key space
sleep 4.3
xdotool key space
sleep 0.6
zs_stop "$ZS_RECORDER"

xdotool key Escape
status=0
timeout 20 tail --pid="$pid" -f /dev/null || status=$?
wait "$pid" || status=$?
[[ $status -eq 0 ]] || xs_die "the program ended with $status"

ini="$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"
[[ -f $ini ]] || xs_die "no settings file at $ini"
for line in 'Tempo=120' 'BeatPattern=Xxxx' 'Bell=1' 'Volume=0' 'Volume%20Regular%20Dif=-900' \
  'Regular%20Sound%20Index=17' 'Accented%20Sound%20Index=18' 'BeatIndicatorVisible=1'; do
  grep -qx "$line" "$ini" || xs_die "the settings file lacks $line: $(cat "$ini")"
done

if ! "$check" "$ZS_DIR/program.wav" "$ZS_RATE" 120 "${ZELMORA_E2E_TOLERANCE_MS:-10}"; then
  ZS_KEEP=1 XS_KEEP=1
  echo "the recording is kept in $ZS_DIR" >&2
  exit 1
fi
