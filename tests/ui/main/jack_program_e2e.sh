#!/usr/bin/env bash
# The whole program on JACK: started on a private X server with the output
# "JACK Audio Connection Kit: system" in its settings and a private JACK
# server (dummy driver) running, it must play as the client Zelmora,
# connected to the system's playback ports; Space plays the default bar at
# 120 bpm, recorded from the program's own port and judged beat by beat
# (program_e2e_check); stopped, it keeps its ports in the graph; Esc ends
# it, and the choice stays in the settings.
# Usage: jack_program_e2e.sh ZELMORA PROGRAM_E2E_CHECK
set -euo pipefail
program=${1:?usage: $0 ZELMORA PROGRAM_E2E_CHECK}
check=${2:?}
here=$(dirname "$0")
tolerance=${ZELMORA_E2E_TOLERANCE_MS:-60}
choice="Output%20Device=JACK Audio Connection Kit: system"

# shellcheck source=../../support/null_sink.sh
source "$here/../../support/null_sink.sh"
# shellcheck source=../../support/jack_server.sh
source "$here/../../support/jack_server.sh"
zs_start_jack 48000 256 200
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
xs_start
trap 'xs_cleanup; zs_cleanup' EXIT

# 0: passed; 4: only the times were off (a stalled machine), tried again.
run_once() {
  xs_fresh_settings
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  printf '[Zelmora]\n%s\n' "$choice" >"$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"
  xs_run_program "$program"
  [[ -z $XS_BOX_SEEN ]] || xs_die "a message at start: $(cat "$XS_BOXES")"
  zs_jack_wait_connected Zelmora:out_L system:playback_1
  zs_jack_wait_connected Zelmora:out_R system:playback_2
  sleep 1
  zs_jack_record "$ZS_DIR/default.wav" 6 Zelmora:out_L
  sleep 0.5
  xdotool windowfocus --sync "$XS_WINDOW"
  local started status=0
  started=$EPOCHREALTIME
  xs_key key space
  sleep "$(awk -v s="$started" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.3f", s + 4.3 - now }')"
  xs_key key space
  wait "$ZS_RECORDER" || xs_die "jack_rec failed"
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_RECORDER / /")
  "$check" "$ZS_DIR/default.wav" "$tolerance" Xxxx@120 || status=$?
  [[ $status -eq 0 || $status -eq 4 ]] ||
    { ZS_KEEP=1; xs_die "the recording does not match (kept in $ZS_DIR)"; }
  # Stopped for longer than an idle output takes to pause: on JACK the
  # client stays, ports and connections with it.
  sleep 6
  jack_lsp -c Zelmora:out_L | grep -qxF "   system:playback_1" ||
    xs_die "the program's JACK ports left the graph while it was stopped"
  xs_end_program
  grep -qxF "$choice" "$XDG_CONFIG_HOME/Zelmora/Zelmora.ini" ||
    xs_die "the settings lost the output: $(cat "$XDG_CONFIG_HOME/Zelmora/Zelmora.ini")"
  return "$status"
}

for attempt in 1 2 3; do
  status=0
  run_once || status=$?
  ((status == 0)) && exit 0
  echo "attempt $attempt: the timing was off; again"
done
xs_die "the timing was off three times"
