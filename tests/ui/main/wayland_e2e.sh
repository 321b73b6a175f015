#!/usr/bin/env bash
# The whole program natively on Wayland: started on a private headless
# weston (wayland_session.sh) with a private PulseAudio null sink at 48000
# Hz as its sound card and a private session bus, in a fresh settings
# folder that holds a place for the main window. No tool can type into
# weston's windows, so the metronome is started and stopped the way a
# Wayland desktop lets a user do it from anywhere: the hot key, pressed by
# a stand-in for the desktop portal's global shortcuts (shortcuts_portal).
#
#   portal     the program binds its hot key through the portal; a press
#              starts it, one 4.4 s later stops it: the recording of the
#              sink's monitor must hold two bars of the default bar at 120
#              bpm, every click on the output's frame grid
#              (practice_e2e_check)
#   no_portal  the same bus without the portal: the hot key stays off
#
# Each run must write nothing to the terminal but the sound libraries'
# probing (Qt warns there about what a program asks of Wayland in vain) and end normally on SIGTERM, after which
# the settings file must be there and keep the stored place of the main
# window, which a Wayland program cannot know. With ZELMORA_E2E_SCREENSHOT
# set, a picture of the screen while the program plays goes there.
# Usage: wayland_e2e.sh ZELMORA SHORTCUTS_PORTAL PRACTICE_E2E_CHECK
set -euo pipefail
program=${1:?usage: $0 ZELMORA SHORTCUTS_PORTAL PRACTICE_E2E_CHECK}
portal=${2:?}
check=${3:?}
here=$(dirname "$0")
tolerance=${ZELMORA_E2E_TOLERANCE_MS:-60}
command -v dbus-daemon >/dev/null || { echo "dbus-daemon is not installed"; exit 77; }

# shellcheck source=../../support/null_sink.sh
source "$here/../../support/null_sink.sh"
zs_start 48000 200
# shellcheck source=../../support/private_bus.sh
source "$here/../../support/private_bus.sh"
# shellcheck source=wayland_session.sh
source "$here/wayland_session.sh"
ws_start
trap 'ws_cleanup; zs_cleanup' EXIT

# A session bus of this test's own, with nothing on it that it would start
# by itself (a real portal, for one).
private_bus_config "$WS_DIR"
dbus-daemon --config-file="$WS_DIR/bus.conf" --nofork >"$WS_DIR/bus.log" 2>&1 &
WS_PIDS="$! $WS_PIDS"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WS_DIR/bus"
for ((i = 0; i < 100; i++)); do
  [[ -S $WS_DIR/bus ]] && break
  sleep 0.1
done
[[ -S $WS_DIR/bus ]] || ws_die "dbus-daemon did not start: $(cat "$WS_DIR/bus.log")"

# Waits up to 30 s for a line matching $2 in the file $1.
wait_for_line() {
  local i
  for ((i = 0; i < 300; i++)); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || ws_die "the program ended at start: $(cat "$WS_DIR/program.log")"
    sleep 0.1
  done
  return 1
}

# Starts the program on a fresh settings folder with a stored place.
runs=0
start_program() {
  runs=$((runs + 1))
  export XDG_CONFIG_HOME="$WS_DIR/config$runs"
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  printf '%s\n' '[Zelmora]' 'MainLeft=300' 'MainTop=240' >"$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"
  "$program" >"$WS_DIR/program.log" 2>&1 &
  pid=$!
  WS_PIDS="$pid $WS_PIDS"
}

# SIGTERM, a normal end, nothing said, and the settings saved.
end_program() {
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  WS_PIDS=$(echo " $WS_PIDS " | sed "s/ $pid / /")
  ((status == 0)) || ws_die "$case: the program ended with $status: $(cat "$WS_DIR/program.log")"
  # What the sound libraries say while PortAudio probes for outputs (ALSA's
  # cards, a JACK server) comes on every desktop and is not looked at.
  local said
  said=$(grep -vE '^(ALSA lib |Cannot connect to server |jack server is not running|JackShm)' \
    "$WS_DIR/program.log" || true)
  [[ -z $said ]] || ws_die "$case: the program wrote: $said"
  local ini="$XDG_CONFIG_HOME/Zelmora/Zelmora.ini" line
  for line in 'MainLeft=300' 'MainTop=240' 'Tempo=120'; do
    grep -qx "$line" "$ini" || ws_die "$case: the settings file lacks $line: $(cat "$ini")"
  done
}

case=portal
echo "=== $case"
mkfifo "$WS_DIR/portal.in"
"$portal" <"$WS_DIR/portal.in" >"$WS_DIR/portal.log" 2>&1 &
portal_pid=$!
WS_PIDS="$portal_pid $WS_PIDS"
exec 5>"$WS_DIR/portal.in"
for attempt in 1 2 3; do
  start_program
  wait_for_line "$WS_DIR/portal.log" '^bound ' || ws_die "the program did not bind its hot key"
  # The output follows the sink's clock from the timing of its blocks; give
  # it a few seconds, as a user takes before starting.
  sleep "${ZELMORA_E2E_SETTLE_SECONDS:-3}"
  zs_record "$WS_DIR/portal.wav"
  sleep 0.5
  r0=$EPOCHREALTIME
  echo "press start-stop" >&5
  sleep 2
  [[ -z ${ZELMORA_E2E_SCREENSHOT:-} ]] || ws_screenshot "$ZELMORA_E2E_SCREENSHOT"
  sleep "$(awk -v from="$r0" -v now="$EPOCHREALTIME" \
    'BEGIN { d = from + 4.4 - now; printf "%.3f", (d > 0 ? d : 0) }')"
  echo "press start-stop" >&5
  sleep 0.6
  zs_stop "$ZS_RECORDER"
  status=0
  "$check" "$WS_DIR/portal.wav" "$tolerance" '2*Xxxx@120' || status=$?
  end_program
  ((status == 0)) && break
  if ((status != 4)); then
    ZS_KEEP=1 WS_KEEP=1
    ws_die "$case: the recording does not match; it is kept in $WS_DIR"
  fi
  # Only the places were off: a busy machine; again.
  ((attempt < 3)) || ws_die "$case: the timing was off three times"
done
# The end of its input ends the portal, and its name leaves the bus.
exec 5>&-
wait "$portal_pid" || ws_die "the portal failed: $(cat "$WS_DIR/portal.log")"

case=no_portal
echo "=== $case"
start_program
sleep 3
kill -0 "$pid" 2>/dev/null || ws_die "the program ended at start: $(cat "$WS_DIR/program.log")"
end_program
echo PASS
