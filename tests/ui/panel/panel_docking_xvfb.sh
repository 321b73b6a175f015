#!/bin/sh
# Runs the beat panel's docking test on a real X server: a private Xvfb
# without a window manager, so that every window is exactly where the
# programs put it. Exit code 77 (skipped) when the tools are missing.
set -eu

test_program=$1
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed" >&2
    exit 77
  fi
done

# No session bus: the private X server has none, and the D-Bus client
# library would otherwise leave an allocation behind for LeakSanitizer.
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" \
  env QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: "$test_program"
