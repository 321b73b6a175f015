# shellcheck shell=bash
# Sourced by the tests that need a session bus of their own.
#
#   private_bus_config DIR  writes DIR/bus.conf: a session bus listening on
#                           DIR/bus that starts nothing on demand (no real
#                           portal or audio service comes up by itself)
private_bus_config() {
  cat >"$1/bus.conf" <<EOF2
<busconfig>
  <type>session</type>
  <listen>unix:path=$1/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF2
}
