#!/usr/bin/env bash
# The whole program with settings files written by hand: each case starts it
# on a private X server (with a PulseAudio null sink as its sound card) in a
# fresh settings folder prepared as the case says, counts the message boxes
# it shows and lets them go with Enter, checks that it runs on (Space starts and stops it, and the
# recording holds the bar it should play), ends it with Esc, and compares
# the settings file it leaves with what the case expects.
#
#   stored     every kind of setting, odd values included
#   garbage    a settings file of random bytes
#   not_wave   a sound file that is no WAVE file, chosen as the accent
#   no_folder  the settings folder cannot be made (a file stands in its way)
#   no_file    the settings file cannot be written (a folder has its name)
#   full_disk  a settings file with lines it cannot parse, and a disk that
#              is full at exit
#   signals    ended by SIGTERM, SIGHUP and SIGINT (logout, a closed
#              terminal, Ctrl+C), stopped and while playing
# Usage: program_settings_e2e.sh ZELMORA PROGRAM_E2E_CHECK [CASE...]
set -euo pipefail
program=${1:?usage: $0 ZELMORA PROGRAM_E2E_CHECK [CASE...]}
check=${2:?}
shift 2
cases=(stored garbage not_wave no_folder no_file full_disk signals)
(($# == 0)) || cases=("$@")
here=$(dirname "$0")

# shellcheck source=../../support/null_sink.sh
source "$here/../../support/null_sink.sh"
zs_start "${ZELMORA_E2E_SINK_RATE:-44100}" 300
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
xs_start
trap 'xs_cleanup; zs_cleanup' EXIT

ini_path() { echo "$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"; }

write_ini() {
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  printf '%s\n' "$@" >"$(ini_path)"
}

# COUNT message boxes so far in this run, for what WHY says. Their texts
# cannot be read from outside the program (see x11_session.sh).
expect_boxes() {
  local shown
  shown=$(wc -l <"$XS_BOXES")
  ((shown == $1)) || xs_die "$case: $shown message boxes where $1 should be: $2"
}

# Space starts the metronome and Space stops it; the recording must hold
# BAR@BPM (see program_e2e_check). Clicks that a busy machine made late are
# recorded again; a beat that sounds wrong fails at once.
expect_playing() {
  sleep "${ZELMORA_E2E_SETTLE_SECONDS:-3}"
  local attempt r0 status
  for attempt in 1 2 3; do
    zs_record "$ZS_DIR/$case.wav"
    sleep 0.5
    xdotool windowfocus --sync "$XS_WINDOW"
    r0=$EPOCHREALTIME
    xs_key key space
    sleep "$(awk -v r0="$r0" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.3f", r0 + 2.3 - now }')"
    xs_key key space
    sleep 0.6
    zs_stop "$ZS_RECORDER"
    echo "--- $case: $1"
    status=0
    "$check" "$ZS_DIR/$case.wav" 60 "$1" || status=$?
    ((status == 0)) && return 0
    if ((status != 4)); then
      ZS_KEEP=1 XS_KEEP=1
      xs_die "$case: the recording does not match; it is kept in $ZS_DIR"
    fi
    echo "$case: attempt $attempt: the timing was off; again"
  done
  xs_die "$case: the timing was off three times"
}

# The settings file's section [Zelmora] holds exactly the lines given.
expect_saved() {
  local saved
  saved=$(awk '/^\[/ { mine = ($0 == "[Zelmora]"); next } mine && NF' "$(ini_path)" | sort)
  [[ $saved == "$(printf '%s\n' "$@" | sort)" ]] ||
    xs_die "$case: the saved settings differ from the expected ones (< saved, > expected):
$(diff <(echo "$saved") <(printf '%s\n' "$@" | sort) || true)"
}

# The settings after the twenty, as a first run saves them: the practice
# tools' and the output's.
practice_defaults=(
  'Subdivision=1' 'Swing=50' 'Subdivision%20Volume=-1200' 'Subdivision%20Sound%20Index=5'
  'Sound%20Subdivision=' 'Layer%20Clicks=0' 'Layer%20Volume=-600' 'Layer%20Sound%20Index=9'
  'Sound%20Layer=' 'Count%20In%20Bars=0' 'Trainer=0' 'Trainer%20Start=80'
  'Trainer%20Target=120' 'Trainer%20Step=4' 'Trainer%20Every%20Bars=2'
  'Trainer%20At%20Target=0' 'Gap%20Play%20Bars=0' 'Gap%20Mute%20Bars=1'
  'Gap%20Random%20Percent=0' 'Practice%20Minutes=0' 'Output%20Device=System default'
)

# What a first run saves, but for the window's place: the work area of the
# 1024 x 768 screen divided by 3 and by 4.
defaults=(
  'Tempo=120' 'BeatPattern=Xxxx' 'Volume=0' 'Volume%20Regular%20Dif=-900'
  'Bell%20Volume=-600' 'Pan=0' 'Boost%20Volume=0' 'Bell=1' 'MainLeft=341' 'MainTop=192'
  'Sound%20Accent=' 'Sound%20Regular=' 'Regular%20Sound%20Index=17'
  'Accented%20Sound%20Index=18' 'BeatIndicatorVisible=1' 'BigPanelLeft=50' 'BigPanelTop=50'
  'BigPanelWidth=250' 'BigPanelHeight=250' 'Hue=0' 'Visual%20Offset=0'
  "${practice_defaults[@]}"
)

# The defaults with the given KEY=VALUE lines in place of theirs.
defaults_but() {
  local line change
  for line in "${defaults[@]}"; do
    for change in "$@"; do
      [[ ${change%%=*} == "${line%%=*}" ]] && line=$change
    done
    echo "$line"
  done
}

# Every kind of value: integers, flags and texts, each where it is clamped,
# snapped, out of its list or not a number, and a sound file that is gone.
case_stored() {
  local missing="$XS_DIR/gone/missing.wav"
  write_ini '[Zelmora]' 'Tempo=500' 'BeatPattern=XxX' 'Bell=2' 'Boost%20Volume=1' \
    "Sound%20Regular=$missing" 'Sound%20Accent=' 'Regular%20Sound%20Index=25' \
    'Accented%20Sound%20Index=40' 'MainLeft=120' 'MainTop=90' 'BeatIndicatorVisible=0' \
    'BigPanelLeft=300' 'BigPanelTop=200' 'BigPanelWidth=320' 'BigPanelHeight=240' 'Hue=20' \
    'Volume=-1500' 'Volume%20Regular%20Dif=-3000' 'Bell%20Volume=loud' 'Pan=500' \
    'Visual%20Offset=-400'
  xs_run_program "$program"
  expect_boxes 1 "the missing sound file"
  xs_end_program
  # Tempo 500 is 416; Bell 2 is true; an accent index beyond the list is
  # its first entry, while the regular list keeps the missing file; the hue
  # and the pan snap to 0 near it; the regular level and the visual offset
  # stop at their sliders' ends, and a bell level that is not a number is
  # the default.
  expect_saved 'Tempo=416' 'BeatPattern=XxX' 'Volume=-1500' 'Volume%20Regular%20Dif=-2100' \
    'Bell%20Volume=-600' 'Pan=0' 'Boost%20Volume=1' 'Bell=1' 'MainLeft=120' 'MainTop=90' \
    'Sound%20Accent=' "Sound%20Regular=$missing" 'Regular%20Sound%20Index=25' \
    'Accented%20Sound%20Index=0' 'BeatIndicatorVisible=0' 'BigPanelLeft=300' \
    'BigPanelTop=200' 'BigPanelWidth=320' 'BigPanelHeight=240' 'Hue=0' 'Visual%20Offset=-150' \
    "${practice_defaults[@]}"
}

case_garbage() {
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  # The same bytes every time.
  LC_ALL=C awk 'BEGIN { srand(7); for (i = 0; i < 4096; i++) printf "%c", int(rand() * 256) }' \
    >"$(ini_path)"
  xs_run_program "$program"
  # Nothing in it reads as a setting of ours: the defaults, silently.
  expect_boxes 0 "none"
  expect_playing Xxxx@120
  xs_end_program
  expect_saved "${defaults[@]}"
}

case_not_wave() {
  local file="$XS_DIR/not a wave.wav"
  echo "This is a text, not a sound." >"$file"
  write_ini '[Zelmora]' "Sound%20Accent=$file" 'Accented%20Sound%20Index=25'
  xs_run_program "$program"
  # The accent voice stays empty; the regular beats still sound.
  expect_boxes 1 "the accent sample that the output refuses"
  xs_end_program
  local saved
  mapfile -t saved < <(defaults_but 'Accented%20Sound%20Index=25' "Sound%20Accent=$file")
  expect_saved "${saved[@]}"
}

case_no_folder() {
  echo "not a folder" >"$XDG_CONFIG_HOME/Zelmora"
  xs_run_program "$program"
  # Nothing to read is no message; the save at exit fails with one.
  expect_boxes 0 "none at start"
  expect_playing Xxxx@120
  xs_end_program
  expect_boxes 1 "the settings folder that cannot be made"
  [[ $(cat "$XDG_CONFIG_HOME/Zelmora") == "not a folder" ]] || xs_die "$case: the file was changed"
}

case_no_file() {
  mkdir -p "$(ini_path)"
  xs_run_program "$program"
  expect_boxes 0 "none at start"
  expect_playing Xxxx@120
  xs_end_program
  expect_boxes 1 "the settings file that cannot be written"
  [[ -d $(ini_path) ]] || xs_die "$case: the folder in the settings file's place has gone"
}

# Every write of the file fails at exit (as on a full disk), after a start
# that read lines QSettings cannot parse: the failure is still reported,
# and the file is left as it was.
case_full_disk() {
  local header
  for header in '[Zelmora]' '[Zelmora'; do
    write_ini "$header" 'my note: keep tempo at 90' 'Tempo=90'
    local old
    old=$(cat "$(ini_path)")
    # Ignored signals stay ignored in the program.
    trap '' XFSZ
    xs_run_program "$program"
    trap - XFSZ
    expect_boxes 0 "none at start ($header)"
    prlimit --pid "$XS_PID" --fsize=0
    xs_end_program
    expect_boxes 1 "the settings file that cannot be written ($header)"
    [[ $(cat "$(ini_path)") == "$old" ]] || xs_die "$case: the file was changed ($header)"
    xs_fresh_settings
  done
}

# Three presses of Up raise the tempo by 3; each signal ends the program as
# Esc does, saving it, also while it plays.
case_signals() {
  local signal playing
  for signal in TERM HUP INT; do
    for playing in 0 1; do
      xs_fresh_settings
      xs_run_program "$program"
      xdotool windowfocus --sync "$XS_WINDOW"
      xs_key key Up Up Up
      ((playing)) && xs_key key space
      sleep 0.5
      xs_end_program "$signal"
      expect_boxes 0 "none ($signal)"
      local saved
      saved=$(grep '^Tempo=' "$(ini_path)" || true)
      [[ $saved == Tempo=123 ]] ||
        xs_die "$case: SIG$signal, playing $playing: saved '$saved' where Tempo=123 belongs"
    done
  done
}

for case in "${cases[@]}"; do
  echo "=== $case"
  xs_fresh_settings
  "case_$case"
done
echo PASS
