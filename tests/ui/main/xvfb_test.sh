#!/bin/sh
# Runs a test program on a real X server of its own (Xvfb), without a
# window manager or with the one named. Exit code 77 (skipped) when one of
# the tools is missing: xvfb-run, those named, and xprop with a window
# manager.
#   xvfb_test.sh [--window-manager NAME] TEST_PROGRAM [TOOL...]
set -eu

window_manager=
if [ "${1:-}" = --window-manager ]; then
  window_manager=$2
  shift 2
fi
test_program=$1
shift
for tool in xvfb-run "$@" ${window_manager:+xprop "$window_manager"}; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed" >&2
    exit 77
  fi
done

# libxkbcommon-x11 (read by Qt's X11 plugin) reads a server reply with
# strndup past its end, which AddressSanitizer's strict string checks
# report; that library is not ours to mend.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
export ASAN_OPTIONS

runtime=$(mktemp -d /tmp/zelmora-xvfb.XXXXXX)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# No session bus: the private X server has none.
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  env QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$runtime" \
  HOME="$runtime" sh -c '
    if [ -n "$2" ]; then
      "$2" >/dev/null 2>&1 &
      wm=$!
      # Until the window manager has taken the screen.
      i=0
      until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        i=$((i + 1))
        [ "$i" -lt 100 ] || { echo "$2 did not start" >&2; exit 1; }
        sleep 0.1
      done
    fi
    status=0
    "$1" || status=$?
    [ -z "${wm:-}" ] || kill "$wm"
    exit "$status"' xvfb_test "$test_program" "$window_manager"
