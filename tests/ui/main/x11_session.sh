# shellcheck shell=bash
# Sourced by the tests that run the whole program on a real X server.
#
#   xs_start          a private Xvfb (no window manager) as $DISPLAY, fresh
#                     settings and runtime folders; everything goes on exit
#   xs_fresh_settings a new empty settings folder ($XDG_CONFIG_HOME) for the
#                     next start, so that each run starts as the first one
#   xs_run_program P  starts the program P in the background (XS_PID), lets
#                     the message boxes of its start-up go (XS_BOX_SEEN=1,
#                     one line each in the file $XS_BOXES), and waits for its
#                     main window (XS_WINDOW)
#   xs_end_program [SIGNAL]
#                     Esc to the main window (or the signal to the program);
#                     waits for the program to end, lets the message boxes
#                     of its exit go (also counted in $XS_BOXES), and fails
#                     unless it ends normally
#   xs_key ARGS...    xdotool ARGS
#   xs_die MESSAGE    fails the test
#
# When the sound server's helper (null_sink.sh) runs in the real-time class,
# the X server, the program and the key presses (xs_key) do too: on a busy
# machine a starved program places its clicks late, and a late key press
# taps a wrong tempo.

xs_die() {
  echo "FAIL: $*" >&2
  exit 1
}

xs_cleanup() {
  local pid
  for pid in $XS_PIDS; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in $XS_PIDS; do
    wait "$pid" 2>/dev/null || true
  done
  if [[ -n ${XS_DIR:-} && -z ${XS_KEEP:-} ]]; then
    rm -rf "$XS_DIR"
  fi
}

xs_start() {
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
  done
  XS_PIDS=""
  XS_DIR=$(mktemp -d /tmp/zelmora-x11.XXXXXX)
  chmod 700 "$XS_DIR"
  trap xs_cleanup EXIT
  mkdir -m 700 "$XS_DIR/runtime"
  export XDG_RUNTIME_DIR="$XS_DIR/runtime"
  XS_RUNS=0
  xs_fresh_settings
  export QT_QPA_PLATFORM=xcb
  export DBUS_SESSION_BUS_ADDRESS=disabled:
  # Two findings in libraries that are not ours to mend, when the program
  # is built with sanitizers: libxkbcommon-x11 (read by Qt's X11 plugin)
  # reads a server reply with strndup past its end, which the strict string
  # checks report; and the sound card's libraries (PortAudio's ALSA and
  # JACK probing) leave 12 KB behind at exit, already unloaded, so no
  # suppression can name them (the device's own end-to-end test shows the
  # same). The program's own leaks are looked for in the offscreen tests.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0:detect_leaks=0"
  # Xvfb picks a free display and tells its number.
  ${ZS_RT:-} Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$XS_DIR/display" \
    2>"$XS_DIR/xvfb.log" &
  XS_PIDS="$! $XS_PIDS"
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -s $XS_DIR/display ]] && break
    sleep 0.1
  done
  [[ -s $XS_DIR/display ]] || xs_die "Xvfb did not start: $(cat "$XS_DIR/xvfb.log")"
  export DISPLAY=":$(head -1 "$XS_DIR/display")"
  # Until a client gets through: a program started earlier would fail.
  for ((i = 0; i < 50; i++)); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  xs_die "no client reaches Xvfb on $DISPLAY: $(cat "$XS_DIR/xvfb.log")"
}

# Waits up to $2 seconds for a window whose title matches $1; prints its id.
xs_wait_window() {
  local i id
  for ((i = 0; i < $2 * 10; i++)); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1) || true
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

xs_fresh_settings() {
  XS_RUNS=$((XS_RUNS + 1))
  mkdir -m 700 "$XS_DIR/config$XS_RUNS"
  export XDG_CONFIG_HOME="$XS_DIR/config$XS_RUNS"
}

# xdotool, in the real-time class when the program is.
xs_key() {
  ${ZS_RT:-} xdotool "$@"
}

# Lets go every message box of the program that is open now, each with
# Enter, and counts it in $XS_BOXES; true if there was one. (Qt copies a
# message box's text on Ctrl+C only on Windows, so the text is not known
# here; a box is told by the application's title, "Zelmora".)
xs_dismiss_boxes() {
  local box seen=1
  for box in $(xdotool search --onlyvisible --name '^Zelmora$' 2>/dev/null); do
    XS_BOX_SEEN=1
    seen=0
    echo "box" >>"$XS_BOXES"
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
    sleep 0.2
  done
  return "$seen"
}

# The program runs at normal priority, as a user starts it (its beat
# scheduler raises its own). Started in the real-time class like the
# helpers, its user-interface thread would share the scheduler's priority,
# and a repaint would hold the scheduler's poll for tens of milliseconds.
xs_run_program() {
  "$1" >"$XS_DIR/program.log" 2>&1 &
  XS_PID=$!
  XS_PIDS="$XS_PID $XS_PIDS"
  XS_BOX_SEEN=""
  XS_BOXES="$XS_DIR/boxes$XS_RUNS.txt"
  : >"$XS_BOXES"
  local i
  for ((i = 0; i < 300; i++)); do
    # The caption names the current preset, if any, after the program.
    XS_WINDOW=$(xdotool search --onlyvisible --name '^ Zelmora( |$)' 2>/dev/null | head -1) || true
    # A box of the start-up may still come up as the window is shown.
    if [[ -n $XS_WINDOW ]]; then
      sleep 0.3
      xs_dismiss_boxes || return 0
      continue
    fi
    xs_dismiss_boxes || true
    kill -0 "$XS_PID" 2>/dev/null || xs_die "the program ended at start: $(cat "$XS_DIR/program.log")"
    sleep 0.1
  done
  xs_die "no main window after 30 s"
}

xs_end_program() {
  if [[ -n ${1:-} ]]; then
    kill "-$1" "$XS_PID"
  else
    xdotool windowfocus --sync "$XS_WINDOW" key Escape
  fi
  local i status=0
  for ((i = 0; i < 300; i++)); do
    kill -0 "$XS_PID" 2>/dev/null || break
    xs_dismiss_boxes || sleep 0.1
  done
  kill -0 "$XS_PID" 2>/dev/null && xs_die "the program did not end within 30 s of ${1:-Esc}"
  wait "$XS_PID" || status=$?
  XS_PIDS=$(echo " $XS_PIDS " | sed "s/ $XS_PID / /")
  [[ $status -eq 0 ]] || xs_die "the program ended with $status: $(cat "$XS_DIR/program.log")"
}
