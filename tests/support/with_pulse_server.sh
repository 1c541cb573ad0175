#!/bin/sh
# Runs a command with a PulseAudio server of its own: a null sink that takes whatever is
# played (its monitor source gives the samples back), reached through a socket in a fresh
# runtime folder. The server is stopped and the folder removed when the command ends.
#   with_pulse_server.sh [--optional] COMMAND [ARGS...]
# The command sees PULSE_SERVER pointing at the server and QUORVI_PULSE_SINK naming the null
# sink. When the server cannot start, the command is not run and the script exits 77 (a
# skipped test to ctest), or with --optional the command runs without a server.
set -u
optional=0
if [ "${1:-}" = --optional ]; then
  optional=1
  shift
fi

folder=
server=
watchdog=
stop() {
  [ -z "$watchdog" ] || kill "$watchdog" 2>/dev/null
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  [ -z "$folder" ] || rm -rf "$folder"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# unavailable REASON COMMAND [ARGS...]
unavailable() {
  echo "with_pulse_server: no audio server: $1"
  shift
  stop
  server=
  watchdog=
  folder=
  if [ "$optional" = 1 ]; then
    echo "with_pulse_server: running without one"
    "$@"
    exit
  fi
  echo "with_pulse_server: skipped"
  exit 77
}

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  unavailable "pulseaudio or pactl not found (packages pulseaudio, pulseaudio-utils)" "$@"
fi

folder=$(mktemp -d "${TMPDIR:-/tmp}/quorvi-pulse.XXXXXX")
sink=quorvi_null
# Without rewinds the monitor gives back every sample as it was played: a rewound null sink
# (a stream arriving or leaving) loses what it had rendered ahead from the monitor's view.
cat >"$folder/server.pa" <<EOF
load-module module-null-sink sink_name=$sink norewinds=1
load-module module-native-protocol-unix auth-anonymous=1 socket=$folder/native
set-default-sink $sink
EOF

# The server keeps nothing outside the folder and looks for no session bus. As root it
# warns that it is meant for a user's session and runs all the same with --system=false.
server_env="HOME=$folder XDG_RUNTIME_DIR=$folder XDG_CONFIG_HOME=$folder/config
PULSE_RUNTIME_PATH=$folder PULSE_STATE_PATH=$folder/state"
# shellcheck disable=SC2086
env -u DBUS_SESSION_BUS_ADDRESS $server_env \
  pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit \
  --use-pid-file=no --realtime=no --high-priority=no --log-target=stderr \
  -F "$folder/server.pa" >"$folder/server.log" 2>&1 &
server=$!
# A server left behind by a killed script stops within a second of it.
parent=$$
(
  while kill -0 "$parent" 2>/dev/null; do sleep 1; done
  kill "$server" 2>/dev/null
) >/dev/null 2>&1 &
watchdog=$!

export PULSE_SERVER="unix:$folder/native" QUORVI_PULSE_SINK="$sink"
tries=0
until pactl info >/dev/null 2>&1; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
    tail -n 5 "$folder/server.log"
    unset PULSE_SERVER QUORVI_PULSE_SINK
    unavailable "the server did not start or answer within 10 s (its log above)" "$@"
  fi
  sleep 0.1
done
echo "with_pulse_server: PULSE_SERVER=$PULSE_SERVER, null sink $sink"

"$@"
status=$?
stop
trap - EXIT
exit "$status"
