# shellcheck shell=bash
# Sourced after null_sink.sh by the end-to-end tests that play through
# PipeWire instead of PulseAudio: a private PipeWire with its session
# manager (WirePlumber) and its PulseAudio server (pipewire-pulse), one null
# sink, and nothing else, whatever server or XDG_RUNTIME_DIR the caller
# already has. The program reaches it as it reaches PulseAudio (PortAudio ->
# ALSA default -> the PulseAudio plugin -> pipewire-pulse), and the helpers
# of null_sink.sh (zs_record, zs_run, zs_stop, zs_meter) work on it as they
# are.
#
#   zs_start_pipewire RATE LIFETIME
#                          as zs_start: the servers, sink $ZS_SINK at RATE
#                          Hz with the graph running at RATE (no resampler
#                          between the program and the recording), a silent
#                          stream keeping it rendering, and the wait until
#                          its latency is low; everything ends by itself
#                          after LIFETIME seconds. Exits with 77 (skipped)
#                          when PipeWire is not installed.

# shellcheck source=tests/support/private_bus.sh
source "$(dirname "${BASH_SOURCE[0]}")/private_bus.sh"

# Runs a server in the background, on the servers' settings and bus, until LIFETIME; its log
# goes to $ZS_DIR/NAME.log.
zs_pipewire_spawn() {
  local name=$1
  shift
  zs_spawn env -u DBUS_SYSTEM_BUS_ADDRESS XDG_CONFIG_HOME="$ZS_DIR/config" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$ZS_DIR/bus" timeout "$ZS_LIFETIME" "$@" >"$ZS_DIR/$name.log" 2>&1
}

zs_pipewire_logs() {
  local log
  for log in "$ZS_DIR"/*.log; do
    echo "--- $log" >&2
    cat "$log" >&2
  done
}

zs_start_pipewire() {
  local rate=$1
  ZS_LIFETIME=$2
  # shellcheck disable=SC2034 # read by the helpers of null_sink.sh
  ZS_RATE=$rate ZS_PIDS=""
  trap zs_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  local tool
  for tool in pipewire wireplumber pipewire-pulse dbus-daemon; do
    command -v "$tool" >/dev/null || {
      echo "$tool is not installed (packages pipewire, wireplumber, pipewire-pulse, dbus-daemon)"
      exit 77
    }
  done
  for tool in pactl pacat parecord parec; do
    command -v "$tool" >/dev/null || zs_die "$tool is not installed (package pulseaudio-utils)"
  done

  # shellcheck disable=SC2034 # read by zs_spawn
  ZS_RT=""
  if chrt --fifo 10 true 2>/dev/null; then
    ZS_RT="chrt --fifo 10"
  else
    echo "note: no real-time scheduling here; a busy machine may disturb the timing" >&2
  fi

  ZS_DIR=$(mktemp -d /tmp/zelmora-pipewire.XXXXXX)
  chmod 700 "$ZS_DIR"
  mkdir -m 700 "$ZS_DIR/home" "$ZS_DIR/config"
  ZS_SINK="zelmora_e2e_$$"
  export XDG_RUNTIME_DIR="$ZS_DIR"
  export HOME="$ZS_DIR/home"
  export PULSE_SERVER="unix:$ZS_DIR/pulse/native"
  export PULSE_SINK="$ZS_SINK"
  unset PULSE_SOURCE PULSE_COOKIE PIPEWIRE_REMOTE PIPEWIRE_RUNTIME_DIR
  export JACK_NO_START_SERVER=1

  # The servers read their settings from here, not from the user's, and
  # talk on a session bus of their own: without one WirePlumber links no
  # stream to the sink. Nothing on it is started on demand.
  private_bus_config "$ZS_DIR"
  mkdir -p "$ZS_DIR/config/pipewire/pipewire.conf.d"
  printf 'context.properties = {\n  default.clock.rate = %d\n  default.clock.allowed-rates = [ %d ]\n}\n' \
    "$rate" "$rate" >"$ZS_DIR/config/pipewire/pipewire.conf.d/zelmora-rate.conf"
  local i
  zs_pipewire_spawn dbus dbus-daemon --config-file="$ZS_DIR/bus.conf" --nofork
  for ((i = 0; i < 100; i++)); do
    [[ -S $ZS_DIR/bus ]] && break
    sleep 0.1
  done
  [[ -S $ZS_DIR/bus ]] || { zs_pipewire_logs; zs_die "dbus-daemon did not start"; }
  zs_pipewire_spawn pipewire pipewire
  # The others connect to PipeWire's socket, which appears once it runs.
  for ((i = 0; i < 100; i++)); do
    [[ -S $ZS_DIR/pipewire-0 ]] && break
    sleep 0.1
  done
  [[ -S $ZS_DIR/pipewire-0 ]] || { zs_pipewire_logs; zs_die "pipewire did not start"; }
  zs_pipewire_spawn wireplumber wireplumber
  zs_pipewire_spawn pipewire-pulse pipewire-pulse

  for ((i = 0; i < 100; i++)); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl info >/dev/null 2>&1 ||
    { zs_pipewire_logs; zs_die "pipewire-pulse did not answer on $PULSE_SERVER within 10 s"; }
  pactl load-module module-null-sink sink_name="$ZS_SINK" rate="$rate" channels=2 >/dev/null ||
    { zs_pipewire_logs; zs_die "pipewire-pulse did not load the null sink"; }
  pactl set-default-sink "$ZS_SINK"

  # As with PulseAudio: a stream keeps the graph running in short blocks,
  # so that a new stream is not met by a sleeping sink.
  zs_keep_awake "$ZS_SINK"
  zs_sink_awake || { zs_pipewire_logs; zs_die "$ZS_SINK_DROWSY"; }
}
