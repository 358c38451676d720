#!/usr/bin/env bash
# Runs a command inside a private PulseAudio server whose default sink is a null sink,
# karvel_null, and returns the command's exit status. The server lives in a temporary runtime
# folder and is stopped afterwards, whatever happens; it runs as root too (CI runs as root).
#
# The command sees PULSE_SERVER, PULSE_RUNTIME_PATH, PULSE_COOKIE and XDG_RUNTIME_DIR pointing at
# that server, so libpulse clients (SDL2's audio, pactl, parecord) and ALSA's pulse plugin
# (the `default` card and its `Master` volume) all reach it. KARVEL_PULSE_SINK names the sink;
# tests that need the real server look for it.
#
# Usage: scripts/with-pulse.sh <command> [arguments...]
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 <command> [arguments...]" >&2
  exit 2
fi

sink=karvel_null
startup_deadline_s=10

runtime=$(mktemp -d "${TMPDIR:-/tmp}/karvel-pulse.XXXXXX")
chmod 700 "$runtime"
mkdir -m 700 "$runtime/pulse" "$runtime/state"

export PULSE_RUNTIME_PATH="$runtime/pulse"
export PULSE_STATE_PATH="$runtime/state"
export PULSE_COOKIE="$runtime/cookie"
export PULSE_SERVER="unix:$runtime/pulse/native"
export XDG_RUNTIME_DIR="$runtime"
export KARVEL_PULSE_SINK="$sink"
# A desktop's own settings must not send our clients elsewhere.
unset PULSE_SINK PULSE_SOURCE

server_pid=""
# shellcheck disable=SC2317 # run by the EXIT trap
stop_server() {
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill -TERM "$server_pid" 2>/dev/null || true
    # Bounded: a server that ignores TERM for 5 s is killed.
    for _ in $(seq 50); do
      kill -0 "$server_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# -n: no default.pa, so nothing but these two modules (no hardware, no D-Bus, no X11).
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  --system=no --realtime=no --high-priority=no --log-level=error \
  --log-target="file:$runtime/server.log" \
  --load="module-native-protocol-unix socket=$runtime/pulse/native auth-anonymous=1 auth-cookie=$runtime/cookie" \
  --load="module-null-sink sink_name=$sink rate=48000 channels=2 sink_properties=device.description=Karvel_null_output" \
  </dev/null >/dev/null 2>&1 &
server_pid=$!

deadline=$((SECONDS + startup_deadline_s))
until pactl info >/dev/null 2>&1; do
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "with-pulse: the PulseAudio server did not start:" >&2
    cat "$runtime/server.log" >&2 2>/dev/null || true
    exit 1
  fi
  if [ $SECONDS -ge $deadline ]; then
    echo "with-pulse: the PulseAudio server did not answer within ${startup_deadline_s} s" >&2
    cat "$runtime/server.log" >&2 2>/dev/null || true
    exit 1
  fi
  sleep 0.1
done
pactl set-default-sink "$sink"

status=0
"$@" || status=$?
exit "$status"
