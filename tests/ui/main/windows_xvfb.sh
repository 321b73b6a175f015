#!/bin/sh
# Runs the window placement test on a real X server of its own (Xvfb), with
# the window manager openbox when the second argument is "openbox", else
# without one. Exit code 77 (skipped) when the tools are missing.
#   windows_xvfb.sh TEST_PROGRAM [openbox]
set -eu

test_program=$1
window_manager=${2:-}
for tool in xvfb-run xwininfo xprop ${window_manager}; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed" >&2
    exit 77
  fi
done

# See hot_key_xvfb.sh.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
export ASAN_OPTIONS

runtime=$(mktemp -d /tmp/zelmora-windows.XXXXXX)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
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
    exit "$status"' windows_xvfb "$test_program" "$window_manager"
