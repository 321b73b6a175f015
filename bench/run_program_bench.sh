#!/usr/bin/env bash
# The whole program measured from outside, side by side with GTick (Debian's
# gtick), on the idle machine and with both cores busy (stress-ng --cpu 2).
# Each program runs on a private Xvfb with a private PulseAudio null sink at
# 48 kHz as its sound card, with a one-beat bar at 120 and at 416 bpm, started
# with Space as a user would; the sink's monitor is recorded and its frames
# placed on CLOCK_MONOTONIC, and the windows are watched for repaints (X
# DAMAGE). For each run it prints:
#   - the largest and median deviation of the intervals from their mean, in
#     48 kHz output frames;
#   - the tempo error: the mean interval against 60/bpm x 48000 in output
#     frames, and in wall-clock time (the sink's own rate against
#     CLOCK_MONOTONIC taken out);
#   - beats missed or doubled, underruns the sound server logged for the
#     program's stream, clicks that came out changed in sound (cut short);
#   - processor time (utime+stime of all threads, /proc/PID/stat) as a share
#     of one core over the measured stretch; Zelmora also stopped, 10 s after
#     Space stopped it;
#   - launch to the main window mapped and first painted (Zelmora, GTick);
#   - Space to the first click; Enter (Zelmora's tap) to its click;
#   - with the beat panel shown: its repaints minus the clicks' sounds;
#   - three 50 ms SIGSTOPs while playing, and what followed each.
# Zelmora runs with the beat panel hidden and shown (at its default size).
# The figures are printed, never judged.
#
# Usage: bench/run_program_bench.sh [--program ZELMORA] [--load idle|busy|both]
#                                   [--keep] [SECONDS]
#   SECONDS   per measured stretch (default 20, at least 5); a whole run
#             takes about 12 x (SECONDS + 16) s, half that with one --load
#             (about 7.5 minutes by default)
#   --program the program to measure (default: the build tree's, under
#             $ZELMORA_BUILD_DIR or build/release). Copy it elsewhere first
#             to measure a fixed binary while the tree is rebuilt.
#   --keep    keep the recordings, logs and watcher logs (the folder is named
#             at the end)
# Needs Xvfb, xdotool, pulseaudio, pulseaudio-utils, gtick, stress-ng and
# python3-xlib (for /usr/bin/python3).
set -euo pipefail

seconds=20
program=""
loads="idle busy"
keep=""
while (($#)); do
  case $1 in
    --program) program=${2:?--program needs a path}; shift 2 ;;
    --program=*) program=${1#*=}; shift ;;
    --load) loads=${2:?--load needs idle, busy or both}; shift 2 ;;
    --load=*) loads=${1#*=}; shift ;;
    --keep) keep=1; shift ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "error: unknown option $1" >&2; exit 2 ;;
    *) seconds=$1; shift ;;
  esac
done
[[ $loads == both ]] && loads="idle busy"
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 5)); then
  echo "error: SECONDS must be a whole number, 5 or more" >&2
  exit 2
fi
for load in $loads; do
  [[ $load == idle || $load == busy ]] || { echo "error: --load is idle, busy or both" >&2; exit 2; }
done

root=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z $program ]]; then
  build=${ZELMORA_BUILD_DIR:-$root/build/release}
  program=$(find "$build" -name zelmora -type f -perm -u+x 2>/dev/null | head -1)
  [[ -n $program ]] || { echo "error: no zelmora under $build; build it with" \
    "cmake --build $build --target zelmora, or give --program" >&2; exit 1; }
fi
[[ -x $program ]] || { echo "error: $program is not an executable" >&2; exit 1; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
# python3-xlib is Debian's, for the system's interpreter.
py=/usr/bin/python3
helper=$root/bench/program_bench.py
"$py" -c 'import Xlib.ext.damage, Xlib.ext.xtest' 2>/dev/null ||
  { echo "error: $py lacks python3-xlib (apt-get install python3-xlib)" >&2; exit 1; }
gtick=$(command -v gtick) || { echo "error: gtick is not installed (apt-get install gtick)" >&2; exit 1; }
if [[ $loads == *busy* ]]; then
  command -v stress-ng >/dev/null ||
    { echo "error: stress-ng is not installed (apt-get install stress-ng)" >&2; exit 1; }
fi
command -v pacmd >/dev/null || { echo "error: pacmd is missing (package pulseaudio)" >&2; exit 1; }

# shellcheck source=../tests/support/null_sink.sh
source "$root/tests/support/null_sink.sh"
runs_per_load=6
lifetime=$(((runs_per_load * (seconds + 15) + 120) * 2 + 300))
zs_start 48000 "$lifetime"
# Underruns are logged at the debug level ("Implicit underrun of 'stream'");
# the server's command line is the shared helper's, so the level is raised
# through its command interface.
pactl load-module module-cli-protocol-unix >/dev/null
XDG_RUNTIME_DIR=$ZS_DIR pacmd set-log-level 4 >/dev/null
palog=$ZS_DIR/pulseaudio.log
# shellcheck source=../tests/ui/main/x11_session.sh
source "$root/tests/ui/main/x11_session.sh"
xs_start
if [[ -n $keep ]]; then
  ZS_KEEP=1 XS_KEEP=1
fi
trap 'xs_cleanup; zs_cleanup' EXIT
work=$ZS_DIR/bench
mkdir "$work"
results=$work/results.jsonl
: >"$results"

echo "Zelmora  $program"
echo "GTick    $gtick ($(dpkg-query -W -f '${Version}' gtick 2>/dev/null || echo unknown version))"
echo "sound    private PulseAudio, null sink $ZS_SINK at 48000 Hz, monitor recorded at 48 kHz"
echo "screen   Xvfb $DISPLAY, no window manager; $(nproc) cores"
n_loads=$(wc -w <<<"$loads")
echo "runs     $seconds s per stretch; about $((n_loads * 6 * (seconds + 16) / 60 + 1)) minutes in all"
echo "Times are CLOCK_MONOTONIC; frames are the sink's 48 kHz frames (the output's own clock)."

# Starts the X watcher for a run; returns once it listens.
watch_x() {
  zs_spawn "$py" "$helper" xwatch "$1/xwatch"
  watcher=$ZS_LAST
  local i
  for ((i = 0; i < 100; i++)); do
    grep -q '^ready' "$1/xwatch" 2>/dev/null && return 0
    sleep 0.05
  done
  zs_die "the X watcher did not start"
}

# Records the sink's monitor with small reads: the samples and each read's
# arrival (see program_bench.py record). Like zs_meter, through a fifo, so
# that stopping the stream ends the recorder.
record() {
  local fifo=$1/monitor.fifo
  mkfifo "$fifo"
  # shellcheck disable=SC2016 # expanded by the inner shell
  zs_spawn bash -c 'exec "$0" "$1" record "$2" "$3" <"$4"' "$py" "$helper" "$1/recording.raw" \
    "$1/arrivals" "$fifo"
  recorder=$ZS_LAST
  zs_spawn parec --device="$ZS_SINK.monitor" --raw --channels=1 --rate=48000 --format=s16le \
    --latency-msec=5 >"$fifo"
  monitor=$ZS_LAST
  local i
  for ((i = 0; i < 100; i++)); do
    (($(stat -c %s "$1/recording.raw" 2>/dev/null || echo 0) > 19200)) && return 0
    sleep 0.05
  done
  zs_die "the recording in $1 did not start within 5 s"
}

stop_recording() {
  zs_stop "$monitor"
  wait "$recorder" || true
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $recorder / /")
}

# Presses KEY on WINDOW (COUNT times, SPACING_MS apart), stamped in the events.
press() {
  zs_run "$py" "$helper" key "$1" "$2" "${3:-1}" "${4:-0}" >>"$run/events" ||
    zs_die "could not press $2"
}

# The measured stretch: SECONDS of processor time and the clicks in it.
stretch() {
  zs_run "$py" "$helper" cpu "$1" "$2" "$3" "$palog" >>"$run/events"
}

# Three 50 ms stops of the program, 2 s apart, while it plays.
stop_three_times() {
  zs_run "$py" "$helper" sigstop "$1" 3 50 2 "$palog" >>"$run/events"
}

# Describes a run for the analysis and prints its figures.
analyze() {
  cat >"$run/run.json" <<EOF
{"dir": "$run", "palog": "$palog", "program": "$1", "load": "$load", "bpm": $2,
 "panel": "$3", "label": "$1 at $2 bpm, $4",
 "main_window": "$5", "panel_window": "\\\\(Beat Panel\\\\)"}
EOF
  "$py" "$helper" analyze "$run/run.json" "$results" || echo "  (the analysis of $run failed)"
}

# Ends the program (Esc to its main window) and waits for it; one that does
# not end within 15 s is killed. A benchmark carries on either way.
end_zelmora() {
  xdotool windowfocus --sync "$XS_WINDOW" key Escape 2>/dev/null || true
  local i status=0
  for ((i = 0; i < 150; i++)); do
    kill -0 "$XS_PID" 2>/dev/null || break
    xs_dismiss_boxes || sleep 0.1
  done
  if kill -0 "$XS_PID" 2>/dev/null; then
    echo "  note: Zelmora did not end within 15 s of Esc; killed"
    kill -KILL "$XS_PID" 2>/dev/null || true
  fi
  wait "$XS_PID" || status=$?
  XS_PIDS=$(echo " $XS_PIDS " | sed "s/ $XS_PID / /")
  ((status == 0)) || echo "  note: Zelmora ended with status $status"
}

# One run of Zelmora at BPM with the beat panel hidden or shown. The first
# run of each load also measures it stopped, and the tap.
run_zelmora() {
  local bpm=$1 panel=$2 first=${3:-}
  run=$work/zelmora_${load}_${bpm}_$panel
  mkdir "$run"
  xs_fresh_settings
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  # Bell off: one sound per beat, the bar's only beat accented.
  printf '%s\n' '[Zelmora]' "Tempo=$bpm" 'BeatPattern=X' 'Bell=0' \
    "BeatIndicatorVisible=$([[ $panel == shown ]] && echo 1 || echo 0)" \
    >"$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"
  # The program is started through a launcher that stamps the exec.
  printf '#!/bin/sh\nexec %q %q launch %q %q\n' "$py" "$helper" "$run/launch" "$program" \
    >"$run/zelmora"
  chmod +x "$run/zelmora"
  watch_x "$run"
  xs_run_program "$run/zelmora"
  [[ -z $XS_BOX_SEEN ]] || echo "  note: Zelmora showed a message at start (no sound card?)"
  # The output settles on the sink's clock in the first seconds, as a user
  # takes before pressing Space.
  sleep 3
  record "$run"
  sleep 1.5
  press "$XS_WINDOW" space
  sleep 2
  stretch playing "$XS_PID" "$seconds"
  if [[ $panel == hidden ]]; then
    stop_three_times "$XS_PID"
  fi
  press "$XS_WINDOW" space
  if [[ -n $first ]]; then
    sleep 10
    stretch stopped "$XS_PID" 10
    # Each tap sounds as a regular beat.
    press "$XS_WINDOW" Return 6 700
  fi
  sleep 1
  stop_recording
  end_zelmora
  zs_stop "$watcher"
  analyze Zelmora "$bpm" "$panel" "beat panel $panel" " Zelmora"
}

run_gtick() {
  local bpm=$1
  run=$work/gtick_${load}_$bpm
  mkdir -p "$run/home"
  # GTick reads its settings from ~/.gtickrc: the PulseAudio output, a
  # one-beat meter, the tempo (its range widened for 416), no visual tick.
  printf '%s\n' 'SoundDevice = <pulseaudio>' 'MinBPM = 30' 'MaxBPM = 500' "Speed = $bpm" \
    'Volume = 100' 'Meter = 1' 'Accents = 1' 'VisualTick = 0' 'ShowAccentTable = 0' \
    'ShowProfiles = 0' >"$run/home/.gtickrc"
  watch_x "$run"
  HOME=$run/home "$py" "$helper" launch "$run/launch" "$gtick" >"$run/gtick.log" 2>&1 &
  local pid=$! window="" i
  XS_PIDS="$pid $XS_PIDS"
  for ((i = 0; i < 300; i++)); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^GTick' 2>/dev/null | head -1) || true
    [[ -n $window ]] && break
    kill -0 "$pid" 2>/dev/null || zs_die "gtick ended at start: $(cat "$run/gtick.log")"
    sleep 0.1
  done
  [[ -n $window ]] || zs_die "no GTick window after 30 s"
  sleep 3
  record "$run"
  sleep 1.5
  press "$window" space
  sleep 2
  stretch playing "$pid" "$seconds"
  stop_three_times "$pid"
  press "$window" space
  sleep 1
  stop_recording
  xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null || true
  for ((i = 0; i < 100; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  XS_PIDS=$(echo " $XS_PIDS " | sed "s/ $pid / /")
  zs_stop "$watcher"
  analyze GTick "$bpm" "-" "one-beat bar" "GTick.*"
}

started=$SECONDS
for load in $loads; do
  echo
  if [[ $load == busy ]]; then
    echo "=== both cores busy (stress-ng --cpu 2, normal priority)"
    # Not in the real-time class: it stands for the user's other work.
    stress-ng --cpu 2 --timeout "$lifetime" --quiet &
    stress=$!
    ZS_PIDS="$stress $ZS_PIDS"
    sleep 2
  else
    echo "=== idle machine"
  fi
  run_zelmora 120 hidden first
  run_zelmora 416 hidden
  run_zelmora 120 shown
  run_zelmora 416 shown
  run_gtick 120
  run_gtick 416
  if [[ $load == busy ]]; then
    zs_stop "$stress"
  fi
done

"$py" "$helper" summary "$results"
echo
echo "Taken $((SECONDS - started)) s."
if [[ -n $keep ]]; then
  echo "Recordings and logs kept in $ZS_DIR (and X session files in $XS_DIR)."
fi
