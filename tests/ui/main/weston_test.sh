#!/usr/bin/env bash
# Runs a test program natively on a private headless Wayland compositor
# (weston), without a session bus. Exit code 77 (skipped) when weston or
# Qt's Wayland plugin is not installed.
#   weston_test.sh TEST_PROGRAM
set -euo pipefail
test_program=${1:?usage: $0 TEST_PROGRAM}
# shellcheck source=wayland_session.sh
source "$(dirname "$0")/wayland_session.sh"
ws_start
export DBUS_SESSION_BUS_ADDRESS=disabled:
"$test_program"
