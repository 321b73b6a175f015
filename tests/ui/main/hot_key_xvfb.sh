#!/bin/sh
# Runs the hot key test on a real X server of its own (Xvfb, no window
# manager). Exit code 77 (skipped) when the tools are missing.
set -eu

test_program=$1
for tool in xvfb-run xdotool xmessage; do
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

runtime=$(mktemp -d /tmp/zelmora-hotkey.XXXXXX)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# No session bus: the private X server has none.
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  env QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$runtime" \
  "$test_program"
