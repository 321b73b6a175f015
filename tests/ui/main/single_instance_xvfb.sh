#!/usr/bin/env bash
# A second start of the program brings the running one to the front and
# ends at once, without a window of its own; the first one runs on.
# Usage: single_instance_xvfb.sh ZELMORA
set -euo pipefail
program=${1:?usage: $0 ZELMORA}
command -v xmessage >/dev/null || { echo "xmessage is not installed"; exit 77; }
# shellcheck source=x11_session.sh
source "$(dirname "$0")/x11_session.sh"
xs_start
xs_run_program "$program"
first=$XS_PID
main=$XS_WINDOW

# Another program lies over the main window and has the focus.
xmessage -title zelmora-other "another program" &
XS_PIDS="$! $XS_PIDS"
other=$(xs_wait_window '^zelmora-other$' 10) || xs_die "no other window"
eval "$(xdotool getwindowgeometry --shell "$main")" # sets X and Y
xdotool windowmove --sync "$other" "$X" "$Y" windowraise "$other" windowfocus --sync "$other"
[[ $(xdotool getwindowfocus) == "$other" ]] || xs_die "the other window did not get the focus"
# Of two windows, the one xwininfo lists first lies on top.
on_top() {
  xwininfo -root -children | grep -oE "$(printf '0x%x' "$main")|$(printf '0x%x' "$other")" | head -1
}
[[ $(on_top) == "$(printf '0x%x' "$other")" ]] || xs_die "the other window is not on top"

# The second start: a hang guard, not a speed limit.
status=0
timeout 20 "$program" >"$XS_DIR/second.log" 2>&1 || status=$?
[[ $status -eq 0 ]] || xs_die "the second start ended with $status: $(cat "$XS_DIR/second.log")"
kill -0 "$first" 2>/dev/null || xs_die "the first instance has gone"
windows=$(xdotool search --onlyvisible --name '^ Zelmora$' | wc -l)
[[ $windows -eq 1 ]] || xs_die "$windows main windows after the second start"

# The first instance came to the front and has the focus.
for ((i = 0; i < 50; i++)); do
  [[ $(on_top) == "$(printf '0x%x' "$main")" && $(xdotool getwindowfocus) == "$main" ]] && break
  sleep 0.1
done
[[ $(on_top) == "$(printf '0x%x' "$main")" ]] || xs_die "the running instance is not on top"
[[ $(xdotool getwindowfocus) == "$main" ]] || xs_die "the running instance did not take the focus"

# Esc ends it normally, and it leaves its settings.
xdotool key Escape
status=0
timeout 20 tail --pid="$first" -f /dev/null || status=$?
wait "$first" || status=$?
[[ $status -eq 0 ]] || xs_die "the program ended with $status"
grep -q '^Tempo=120$' "$XDG_CONFIG_HOME/Zelmora/Zelmora.ini" || xs_die "no settings saved"
echo PASS
