# shellcheck shell=bash
# Sourced by the end-to-end tests and the benchmarks that play through the
# real output: a private PulseAudio server with one null sink, whatever
# server or XDG_RUNTIME_DIR the caller already has. Call zs_start first; it
# installs a trap that stops everything this file started on any exit.
#
#   zs_start RATE LIFETIME server, sink $ZS_SINK at RATE Hz, a silent stream
#                          keeping the sink awake, and the wait until its
#                          latency is low. The server ends by itself after
#                          LIFETIME seconds, in case this shell is killed
#                          without a chance to clean up (and everything
#                          else ends with the server).
#   zs_keep_awake SINK     plays silence into SINK (a null sink of the
#                          server's), so that it renders in short blocks
#   zs_sink_awake          waits until $ZS_SINK does; false, with
#                          ZS_SINK_DROWSY saying so, after 10 s
#   zs_server_kill         kills the server as a crash would (SIGKILL)
#   zs_server_up           starts it again with the same sink and socket,
#                          and sets ZS_SERVER_UP_AT (EPOCHREALTIME) to when
#                          clients can reach it
#   zs_record FILE         records the sink's monitor as mono 16-bit WAV;
#                          sets ZS_RECORDER; returns once the recording runs
#   zs_meter METER OUT [ARRIVALS]
#                          runs the rate meter METER on a second monitor
#                          stream, writing its result to OUT (and its log
#                          of arrivals to ARRIVALS)
#   zs_meter_finish        stops that stream and waits for the meter's result
#   zs_run COMMAND...      runs COMMAND, in the real-time class like the rest,
#                          and returns its exit status
#   zs_stop PID            stops a process started here (TERM: parecord
#                          finishes its WAV header) and waits for it
#
# The private directory $ZS_DIR (server socket, logs, recordings) is removed
# on exit unless ZS_KEEP is set.
#
# Everything runs in the real-time scheduling class where that is allowed
# (root): on a machine busy with builds, the sound server, the program under
# test and the recorders must not be starved, or the output underruns and
# the recording loses data, and timing is measured on a broken stream.

zs_die() {
  echo "error: $*" >&2
  exit 1
}

zs_cleanup() {
  local pid
  for pid in $ZS_PIDS; do
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in $ZS_PIDS; do
    wait "$pid" 2>/dev/null || true
  done
  ZS_PIDS=""
  if [[ -n ${ZS_DIR:-} && -z ${ZS_KEEP:-} ]]; then
    rm -rf "$ZS_DIR"
  fi
}

# Runs "$@" in the background and remembers it for the cleanup.
zs_spawn() {
  $ZS_RT "$@" &
  ZS_LAST=$!
  ZS_PIDS="$ZS_LAST $ZS_PIDS"
}

# Waits in the shell's `wait`, not in a foreground command, so that a signal
# runs the cleanup at once.
zs_run() {
  zs_spawn "$@"
  local pid=$ZS_LAST status=0
  wait "$pid" || status=$?
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $pid / /")
  return "$status"
}

zs_stop() {
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $1 / /")
}

zs_sink_latency_usec() {
  pactl list sinks 2>/dev/null | awk -v sink="$ZS_SINK" '
    $1 == "Name:" { mine = ($2 == sink) }
    mine && $1 == "Latency:" { print $2; exit }'
}

# An idle null sink sleeps in long blocks and swallows the start of new
# streams; a silent stream keeps it rendering in short ones. Its messages
# (a sink unloaded under it) go to $ZS_DIR/keep_awake.log.
zs_keep_awake() {
  zs_spawn pacat --playback --raw --format=s16le --rate="$ZS_RATE" --channels=2 --latency-msec=10 \
    --device="$1" /dev/zero 2>>"$ZS_DIR/keep_awake.log"
}

# Waits until the sink $ZS_SINK renders in short blocks (latency under 50 ms;
# 10 s at most); false otherwise, with ZS_SINK_DROWSY saying so.
zs_sink_awake() {
  local i latency=""
  for ((i = 0; i < 100; i++)); do
    latency=$(zs_sink_latency_usec)
    [[ -n $latency && $latency -lt 50000 ]] && return 0
    sleep 0.1
  done
  ZS_SINK_DROWSY="sink $ZS_SINK latency still ${latency:-unknown} us after 10 s (wanted under 50 ms)"
  return 1
}

zs_start() {
  local rate=$1 lifetime=$2
  ZS_RATE=$rate
  ZS_PIDS=""
  trap zs_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  ZS_RT=""
  if chrt --fifo 10 true 2>/dev/null; then
    ZS_RT="chrt --fifo 10"
  else
    echo "note: no real-time scheduling here; a busy machine may disturb the timing" >&2
  fi

  for tool in pulseaudio pactl pacat parecord parec; do
    command -v "$tool" >/dev/null ||
      zs_die "$tool is not installed (packages pulseaudio, pulseaudio-utils)"
  done

  ZS_DIR=$(mktemp -d /tmp/zelmora-pulse.XXXXXX)
  chmod 700 "$ZS_DIR"
  mkdir -m 700 "$ZS_DIR/home"
  ZS_SINK="zelmora_e2e_$$"
  # Everything below talks to this private server only.
  export XDG_RUNTIME_DIR="$ZS_DIR"
  export HOME="$ZS_DIR/home"
  export PULSE_SERVER="unix:$ZS_DIR/pulse/native"
  export PULSE_SINK="$ZS_SINK"
  unset PULSE_SOURCE PULSE_COOKIE
  # PortAudio also probes JACK; it must not start a server.
  export JACK_NO_START_SERVER=1

  ZS_LIFETIME=$lifetime
  zs_server_up
}

# Starts a server (ZS_SERVER) with the sink and the silent stream in a
# runtime folder of its own, waits until the sink's latency is low, and only
# then moves its socket to the one clients use ($PULSE_SERVER), setting
# ZS_SERVER_UP_AT (EPOCHREALTIME) to that moment: an idle null sink stalls
# new streams for up to a second and more, which a client reconnecting on
# its own would otherwise meet.
zs_server_up() {
  ZS_SERVERS=$((${ZS_SERVERS:-0} + 1))
  local run="$ZS_DIR/run$ZS_SERVERS"
  mkdir -m 700 -p "$run" "$ZS_DIR/pulse"
  # Until it is ready, this shell talks to the new server on its own socket.
  local clients=$PULSE_SERVER
  export PULSE_SERVER="unix:$run/pulse/native"
  zs_spawn env XDG_RUNTIME_DIR="$run" timeout "$ZS_LIFETIME" pulseaudio --daemonize=no -n \
    --exit-idle-time=-1 --disallow-exit --system=false \
    --load="module-null-sink sink_name=$ZS_SINK rate=$ZS_RATE" \
    --load="module-native-protocol-unix auth-anonymous=1" >>"$ZS_DIR/pulseaudio.log" 2>&1
  ZS_SERVER=$ZS_LAST
  local server=$ZS_SERVER
  local i
  for ((i = 0; i < 100; i++)); do
    if ! kill -0 "$server" 2>/dev/null; then
      cat "$ZS_DIR/pulseaudio.log" >&2
      zs_die "pulseaudio exited at start (its log is above)"
    fi
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! pactl info >/dev/null 2>&1; then
    cat "$ZS_DIR/pulseaudio.log" >&2
    zs_die "pulseaudio did not answer on $PULSE_SERVER within 10 s (its log is above)"
  fi

  zs_keep_awake "$ZS_SINK"
  zs_sink_awake || zs_die "$ZS_SINK_DROWSY"
  mv -f "$run/pulse/native" "$ZS_DIR/pulse/native"
  export PULSE_SERVER=$clients
  # shellcheck disable=SC2034 # for the caller
  ZS_SERVER_UP_AT=$EPOCHREALTIME
}

# Kills the server at once, as a crash would (its clients lose it).
zs_server_kill() {
  pkill -KILL -P "$ZS_SERVER" pulseaudio || true
  wait "$ZS_SERVER" 2>/dev/null || true
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_SERVER / /")
}

zs_record() {
  zs_spawn parecord --device="$ZS_SINK.monitor" --channels=1 --rate="$ZS_RATE" \
    --format=s16le --file-format=wav --latency-msec=20 "$1"
  # shellcheck disable=SC2034 # for the caller
  ZS_RECORDER=$ZS_LAST
  # On a busy machine the stream may take a while to start; what is played
  # before would be missing from the recording. The header takes under 2 KB,
  # and a tenth of a second of sound another 8 KB or more.
  local i
  for ((i = 0; i < 100; i++)); do
    (($(stat -c %s "$1" 2>/dev/null || echo 0) > 12288)) && return 0
    sleep 0.05
  done
  zs_die "the recording $1 did not start within 5 s"
}

zs_meter() {
  local fifo="$ZS_DIR/meter.$RANDOM.fifo"
  mkfifo "$fifo"
  # The fifo is opened in the background job: opening it here would block
  # until the writer below opens its end.
  # shellcheck disable=SC2016 # expanded by the inner shell
  zs_spawn bash -c 'exec "$2" "$3" ${4:+"$4"} <"$0" >"$1"' "$fifo" "$2" "$1" "$ZS_RATE" "${3:-}"
  ZS_METER=$ZS_LAST
  zs_spawn parec --device="$ZS_SINK.monitor" --raw --channels=1 --rate="$ZS_RATE" \
    --format=s16le --latency-msec=10 >"$fifo"
  ZS_METER_STREAM=$ZS_LAST
}

# Stopping the monitor stream ends the meter's input; it then writes its result.
zs_meter_finish() {
  zs_stop "$ZS_METER_STREAM"
  wait "$ZS_METER" || zs_die "the rate meter failed"
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_METER / /")
}
