# shellcheck shell=bash
# Sourced by the tests that run the program natively on a Wayland
# compositor: a private headless weston (no screen, no input devices) in a
# private runtime folder, and QT_QPA_PLATFORM=wayland; there is no X server
# (DISPLAY is unset, so nothing can fall back to X11 unnoticed).
#
#   ws_start          weston, $WAYLAND_DISPLAY, fresh runtime and settings
#                     folders; exits with 77 (skipped) when weston or Qt's
#                     Wayland plugin is not installed. ws_cleanup on exit.
#   ws_screenshot PNG a picture of the whole output (weston runs with its
#                     debugging protocols for weston-screenshooter)
#   ws_die MESSAGE    fails the test

ws_die() {
  echo "FAIL: $*" >&2
  exit 1
}

ws_cleanup() {
  local pid
  for pid in ${WS_PIDS:-}; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in ${WS_PIDS:-}; do
    wait "$pid" 2>/dev/null || true
  done
  WS_PIDS=""
  if [[ -n ${WS_DIR:-} && -z ${WS_KEEP:-} ]]; then
    rm -rf "$WS_DIR"
  fi
}

# Qt's Wayland platform plugin (package qt6-wayland), where Qt looks for it.
ws_qt_wayland_plugin() {
  local dir
  for dir in /usr/lib/*/qt6/plugins/platforms; do
    [[ -e $dir/libqwayland-generic.so ]] && return 0
  done
  return 1
}

ws_start() {
  command -v weston >/dev/null || { echo "weston is not installed"; exit 77; }
  ws_qt_wayland_plugin || { echo "Qt's Wayland plugin is not installed (qt6-wayland)"; exit 77; }
  WS_PIDS=""
  WS_DIR=$(mktemp -d /tmp/zelmora-wayland.XXXXXX)
  chmod 700 "$WS_DIR"
  trap ws_cleanup EXIT
  mkdir -m 700 "$WS_DIR/runtime" "$WS_DIR/config" "$WS_DIR/home"
  export XDG_RUNTIME_DIR="$WS_DIR/runtime"
  export XDG_CONFIG_HOME="$WS_DIR/config"
  export HOME="$WS_DIR/home"
  export WAYLAND_DISPLAY="zelmora-wayland-$$"
  export QT_QPA_PLATFORM=wayland
  unset DISPLAY
  # In a build with sanitizers the program's own leaks are looked for in
  # the offscreen tests; here the compositor's client libraries and the
  # sound card's are loaded too, whose leftovers are not ours to mend.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  # The pixman renderer draws the windows, so that a screenshot shows them
  # (the default headless renderer draws nothing). --debug offers the
  # screenshooter's protocol to every client.
  weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --no-config \
    --idle-time=0 --debug --socket="$WAYLAND_DISPLAY" >"$WS_DIR/weston.log" 2>&1 &
  local weston=$!
  WS_PIDS="$weston $WS_PIDS"
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && return 0
    kill -0 "$weston" 2>/dev/null || break
    sleep 0.1
  done
  ws_die "weston did not start: $(cat "$WS_DIR/weston.log")"
}

ws_screenshot() {
  command -v weston-screenshooter >/dev/null || return 0
  (cd "$WS_DIR" && rm -f wayland-screenshot-*.png && weston-screenshooter >/dev/null 2>&1) || return 0
  local shot
  for shot in "$WS_DIR"/wayland-screenshot-*.png; do
    [[ -e $shot ]] && mv "$shot" "$1"
  done
  return 0
}
