#!/usr/bin/env bash
# The practice tools and the presets, end to end: the whole program started on a private X
# server in a fresh settings folder that holds the case's settings, with a
# private PulseAudio null sink as its sound card; Space starts it and stops
# it, the sink's monitor is recorded, and every click in the recording is
# told by its sound and placed on the output's frame grid
# (practice_e2e_check). The sink runs at the rate the program opens its
# output at (48000 Hz), so that no resampler sits between the frames the
# program places and the frames recorded: every click must come out on
# its frame.
#
#   subdivision  Subdivision 3 at 100 bpm: two clicks of the subdivision
#                sound between the beats, 9600 frames (200 ms) apart
#   swing        Subdivision 2 with Swing 67 at 120 bpm: the off-beat click
#                at 67 % of each beat
#   layer        Layer Clicks 5 across bars of four at 110 bpm, with
#                Subdivision 2 and a silent third beat ("Xx-x"): the layer's
#                clicks every fifth of a bar, on their own voice, the first
#                with the bar's first beat, one in the silent beat, which
#                has no subdivision click
#   gaps         a count-in of one bar, then Gap Play Bars 2 and Gap Mute
#                Bars 2 in bars of three at 180 bpm: the count-in bar, two
#                bars, two silent, two bars, two silent, a bar; the gaps
#                count from the bar after the count-in, and the first beat
#                after each gap lies exactly where the grid of the beats
#                before it puts it
#   trainer      the speed trainer from 100 to 110 bpm by 5 every 2 bars,
#                in bars of three: 100, 100, 105, 105, 110, 110, 110; the
#                settings file then holds the trainer's last tempo
#   trainer_end  the same from 100 to 110 by 10 every bar, stopping at the
#                target: a bar at 100, one at 110, then the bell alone on
#                the next bar's first beat, and the run ends by itself
#   preset       two presets in presets.json, the first (100 bpm, bars of
#                three) current; F8 during the second bar: the third bar
#                and those after it are the second preset's (150 bpm, bars
#                of four), the grid unbroken; the settings file then holds
#                its tempo and pattern, the preset file its name
#
# Each run ends with Esc, after which the settings file must hold what the
# case set.
# Usage: practice_e2e.sh ZELMORA PRACTICE_E2E_CHECK [CASE...]
set -euo pipefail
program=${1:?usage: $0 ZELMORA PRACTICE_E2E_CHECK [CASE...]}
check=${2:?}
shift 2
cases=(subdivision swing layer gaps trainer trainer_end preset)
(($# == 0)) || cases=("$@")
here=$(dirname "$0")
# How late a click may come after the click before it: a busy machine
# shifts all the clicks from some click on (a late wake-up, an underrun of
# the output), by up to some tens of milliseconds; see practice_e2e_check.
tolerance=${ZELMORA_E2E_TOLERANCE_MS:-60}

# shellcheck source=../../support/null_sink.sh
source "$here/../../support/null_sink.sh"
zs_start 48000 400
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
xs_start
trap 'xs_cleanup; zs_cleanup' EXIT

ini_path() { echo "$XDG_CONFIG_HOME/Zelmora/Zelmora.ini"; }

# Sleeps until OFFSET seconds after the time FROM ($EPOCHREALTIME).
sleep_until() {
  sleep "$(awk -v from="$1" -v offset="$2" -v now="$EPOCHREALTIME" \
    'BEGIN { d = from + offset - now; printf "%.3f", (d > 0 ? d : 0) }')"
}

# Starts the program on a settings file of the given lines in [Zelmora],
# the rest as on a first start.
start_program() {
  xs_fresh_settings
  mkdir -p "$XDG_CONFIG_HOME/Zelmora"
  printf '%s\n' '[Zelmora]' "$@" >"$(ini_path)"
  [[ -z ${presets_json:-} ]] || printf '%s\n' "$presets_json" >"$XDG_CONFIG_HOME/Zelmora/presets.json"
  xs_run_program "$program"
  [[ -z $XS_BOX_SEEN ]] || xs_die "$case: a message at start (no sound card?)"
  # The output follows the sink's clock from the timing of its blocks; give
  # it a few seconds, as a user takes before pressing Space.
  sleep "${ZELMORA_E2E_SETTLE_SECONDS:-3}"
  zs_record "$ZS_DIR/$case.wav"
  sleep 0.5
  xdotool windowfocus --sync "$XS_WINDOW"
}

# Space, SECONDS of playing, Space; the recording ends a little later.
# With "itself", the run ends by itself within the SECONDS, and the second
# Space, which would start it again, is left out.
play_for() {
  local r0
  r0=$EPOCHREALTIME
  xs_key key space
  sleep_until "$r0" "$1"
  [[ ${2:-} == itself ]] || xs_key key space
  sleep 0.6
  zs_stop "$ZS_RECORDER"
}

# Fails unless the recording holds the plan given (see practice_e2e_check).
# Status 4 when only the places on the grid were off.
check_recording() {
  echo "--- $case: $*"
  local status=0
  "$check" "$ZS_DIR/$case.wav" "$tolerance" "$@" || status=$?
  [[ $status -eq 0 || $status -eq 4 ]] && return "$status"
  ZS_KEEP=1 XS_KEEP=1
  xs_die "$case: the recording does not match; it is kept in $ZS_DIR"
}

# The settings file after Esc must hold every LINE given.
end_program() {
  xs_end_program
  local line
  for line in "$@"; do
    grep -qx "$line" "$(ini_path)" || xs_die "$case: the settings file lacks $line: $(cat "$(ini_path)")"
  done
}

case_subdivision() {
  start_program 'Tempo=100' 'Subdivision=3'
  # Three bars of 2.4 s.
  play_for 7.6
  check_recording subdivision=3 '3*Xxxx@100' || return
  end_program 'Tempo=100' 'Subdivision=3'
}

case_swing() {
  start_program 'Subdivision=2' 'Swing=67'
  # Three bars of 2 s.
  play_for 6.4
  check_recording subdivision=2 swing=67 '3*Xxxx@120' || return
  end_program 'Tempo=120' 'Subdivision=2' 'Swing=67'
}

case_layer() {
  start_program 'Tempo=110' 'BeatPattern=Xx-x' 'Subdivision=2' 'Layer%20Clicks=5'
  # Three bars of 2.18 s.
  play_for 7
  check_recording subdivision=2 layer=5 '3*Xx-x@110' || return
  end_program 'Tempo=110' 'Subdivision=2' 'Layer%20Clicks=5'
}

case_gaps() {
  start_program 'Tempo=180' 'BeatPattern=Xxx' 'Count%20In%20Bars=1' 'Gap%20Play%20Bars=2' \
    'Gap%20Mute%20Bars=2'
  # Ten bars of 1 s; the last one sounds, so the gap before it is known to
  # have ended.
  play_for 10.4
  check_recording 'Xxx@180' '2*Xxx@180' '2*---@180' '2*Xxx@180' '2*---@180' 'Xxx@180' || return
  end_program 'Tempo=180' 'Count%20In%20Bars=1' 'Gap%20Play%20Bars=2' 'Gap%20Mute%20Bars=2'
}

case_trainer() {
  # The tempo set is none of the trainer's: the one saved at exit is its.
  start_program 'Tempo=90' 'BeatPattern=Xxx' 'Trainer=1' 'Trainer%20Start=100' \
    'Trainer%20Target=110' 'Trainer%20Step=5' 'Trainer%20Every%20Bars=2'
  # Bars of 1.8, 1.71 and 1.64 s.
  play_for 12.9
  check_recording '2*Xxx@100' '2*Xxx@105' '3*Xxx@110' || return
  end_program 'Tempo=110' 'Trainer=1' 'Trainer%20Start=100' 'Trainer%20Target=110'
}

case_trainer_end() {
  start_program 'BeatPattern=Xxx' 'Trainer=1' 'Trainer%20Start=100' 'Trainer%20Target=110' \
    'Trainer%20Step=10' 'Trainer%20Every%20Bars=1' 'Trainer%20At%20Target=1'
  # Bars of 1.8 and 1.64 s, the bell, and a bar's time of silence.
  play_for 6 itself
  check_recording 'Xxx@100' 'Xxx@110' 'end@110' '---@110' || return
  end_program 'Tempo=110' 'Trainer=1' 'Trainer%20At%20Target=1'
}

case_preset() {
  presets_json='{"version": 1,
    "presets": [{"name": "Waltz", "settings": {"Tempo": "100", "BeatPattern": "Xxx"}},
                {"name": "Reel", "settings": {"Tempo": "150", "BeatPattern": "Xxxx"}}],
    "current": {"setlist": "All presets", "preset": "Waltz"}}'
  start_program 'Tempo=100' 'BeatPattern=Xxx'
  presets_json=
  local r0
  r0=$EPOCHREALTIME
  xs_key key space
  # Halfway through the second bar of 1.8 s; then two bars of 1.6 s.
  sleep_until "$r0" 2.7
  xs_key key F8
  sleep_until "$r0" 7
  xs_key key space
  sleep 0.6
  zs_stop "$ZS_RECORDER"
  check_recording '2*Xxx@100' '2*Xxxx@150' || return
  end_program 'Tempo=150' 'BeatPattern=Xxxx'
  grep -q '"preset": "Reel"' "$XDG_CONFIG_HOME/Zelmora/presets.json" ||
    xs_die "$case: the preset file does not name Reel: $(cat "$XDG_CONFIG_HOME/Zelmora/presets.json")"
}

# Clicks that a busy machine shifted are a matter of timing, not of the
# program's sense: such a run is tried again, and the test fails only when
# it keeps happening. A click that sounds wrong or sits wrongly in its bar
# fails at once.
for case in "${cases[@]}"; do
  echo "=== $case"
  for attempt in 1 2 3; do
    status=0
    "case_$case" || status=$?
    ((status == 0)) && break
    ((attempt < 3)) || xs_die "$case: the timing was off three times"
    echo "$case: attempt $attempt: the timing was off; again"
    if kill -0 "$XS_PID" 2>/dev/null; then
      xs_end_program
    fi
  done
done
echo PASS
