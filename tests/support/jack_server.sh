# shellcheck shell=bash
# Sourced after null_sink.sh by the end-to-end tests that play through JACK:
# a private JACK server on the dummy driver (no sound card needed), whatever
# server the caller already has, and a recorder of any port. The helpers of
# null_sink.sh (zs_run, zs_spawn, zs_stop, the cleanup) work with it.
#
#   zs_start_jack RATE PERIOD LIFETIME
#                          the server "zelmora-e2e-<pid>" at RATE Hz in
#                          periods of PERIOD frames, reached by every JACK
#                          client started from here; it ends by itself
#                          after LIFETIME seconds. No PulseAudio runs: an
#                          output not on JACK finds nothing. Exits with 77
#                          (skipped) when JACK is not installed.
#   zs_jack_server_stop SIGNAL
#                          stops the server (TERM: as a user would; KILL:
#                          as a crash would)
#   zs_jack_server_up      starts it again, the same; sets ZS_SERVER_UP_AT
#                          (EPOCHREALTIME) to when clients can reach it
#   zs_jack_wait_connected PORT TO
#                          waits until PORT is connected to TO (10 s at
#                          most)
#   zs_jack_wait_port PORT waits until PORT exists (10 s at most)
#   zs_jack_record FILE SECONDS PORT
#                          records PORT as mono 16-bit WAV, every frame
#                          the server runs, for SECONDS; sets ZS_RECORDER
#                          (which ends by itself; wait for it)

zs_jack_logs() {
  echo "--- $ZS_DIR/jackd.log" >&2
  cat "$ZS_DIR/jackd.log" >&2
}

zs_start_jack() {
  local rate=$1 period=$2
  ZS_LIFETIME=$3
  # shellcheck disable=SC2034 # read by the helpers of null_sink.sh
  ZS_RATE=$rate ZS_PIDS=""
  trap zs_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  local tool
  for tool in jackd jack_lsp jack_wait jack_rec; do
    command -v "$tool" >/dev/null || {
      echo "$tool is not installed (package jackd2)"
      exit 77
    }
  done
  # shellcheck disable=SC2034 # read by zs_spawn
  ZS_RT=""
  local realtime=--realtime
  if chrt --fifo 10 true 2>/dev/null; then
    ZS_RT="chrt --fifo 10"
  else
    realtime=--no-realtime
    echo "note: no real-time scheduling here; a busy machine may disturb the timing" >&2
  fi

  ZS_DIR=$(mktemp -d /tmp/zelmora-jack.XXXXXX)
  chmod 700 "$ZS_DIR"
  mkdir -m 700 "$ZS_DIR/home"
  export XDG_RUNTIME_DIR="$ZS_DIR"
  export HOME="$ZS_DIR/home"
  # No PulseAudio for ALSA's default to reach.
  export PULSE_SERVER="unix:$ZS_DIR/no-pulse"
  unset PULSE_SINK PULSE_SOURCE PULSE_COOKIE
  export JACK_DEFAULT_SERVER="zelmora-e2e-$$"
  export JACK_NO_START_SERVER=1
  # No session bus to ask for the sound card: the dummy driver needs none.
  export JACK_NO_AUDIO_RESERVATION=1

  ZS_JACK_ARGS=(--name "$JACK_DEFAULT_SERVER" "$realtime" ${ZELMORA_E2E_JACK_MODE:---sync}
    -d dummy -r "$rate" -p "$period")
  zs_jack_server_up
}

# Starts the server (again), as zs_start_jack set it up, and sets
# ZS_SERVER_UP_AT (EPOCHREALTIME) to when clients can reach it.
zs_jack_server_up() {
  zs_spawn timeout "$ZS_LIFETIME" jackd "${ZS_JACK_ARGS[@]}" >>"$ZS_DIR/jackd.log" 2>&1
  ZS_JACK_SERVER=$ZS_LAST
  local i
  for ((i = 0; i < 100; i++)); do
    kill -0 "$ZS_JACK_SERVER" 2>/dev/null || { zs_jack_logs; zs_die "jackd exited at start"; }
    if [[ $(jack_wait --check 2>/dev/null) == running ]]; then
      # shellcheck disable=SC2034 # for the caller
      ZS_SERVER_UP_AT=$EPOCHREALTIME
      return 0
    fi
    sleep 0.1
  done
  zs_jack_logs
  zs_die "jackd did not answer within 10 s"
}

zs_jack_wait_port() {
  local i
  for ((i = 0; i < 100; i++)); do
    jack_lsp 2>/dev/null | grep -qxF "$1" && return 0
    sleep 0.1
  done
  jack_lsp >&2 || true
  zs_die "no JACK port $1 within 10 s"
}

zs_jack_wait_connected() {
  local i
  for ((i = 0; i < 200; i++)); do
    jack_lsp -c "$1" 2>/dev/null | grep -qxF "   $2" && return 0
    sleep 0.05
  done
  jack_lsp -c >&2 || true
  zs_die "$1 not connected to $2 within 10 s"
}

zs_jack_record() {
  zs_spawn jack_rec -f "$1" -d "$2" -b 16 "$3"
  # shellcheck disable=SC2034 # for the caller
  ZS_RECORDER=$ZS_LAST
  local i
  for ((i = 0; i < 50; i++)); do
    jack_lsp -c 2>/dev/null | grep -A1 -xF "$3" | grep -q '^ ' && return 0
    sleep 0.1
  done
  zs_die "the recording of $3 did not start within 5 s"
}

# Stops the server with SIGNAL (TERM: as a user stops it; KILL: a crash).
zs_jack_server_stop() {
  pkill "-$1" -P "$ZS_JACK_SERVER" jackd || true
  wait "$ZS_JACK_SERVER" 2>/dev/null || true
  ZS_PIDS=$(echo " $ZS_PIDS " | sed "s/ $ZS_JACK_SERVER / /")
}
