#!/usr/bin/env bash
# Starts the program under a virtual screen on a fresh copy of the demo drive, waits until the
# splash screen has closed, and takes a picture of the whole screen.
# Usage: scripts/screenshot.sh <program> <picture.png> [settle seconds]
# It runs inside a private sound server (scripts/with-pulse.sh), so the program finds a mixer.
set -euo pipefail
if [ -z "${KARVEL_PULSE_SINK:-}" ]; then
  exec "$(dirname "$0")/with-pulse.sh" "$0" "$@"
fi
program=$(realpath "$1")
picture=$2
settle=${3:-4}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp -a "$here/demo/drive_c" "$work/drive_c"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work" && DISPLAY=$display KARVEL_DRIVE_C="$work/drive_c" QT_QPA_PLATFORM=xcb "$program") &
app=$!
# Without a window manager nothing maximises the window: give it the whole screen by hand.
for _ in $(seq 50); do
  win=$(DISPLAY=$display xdotool search --onlyvisible --name 'TEMES' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.1
done
if [ -n "${win:-}" ]; then
  DISPLAY=$display xdotool windowmove "$win" 0 0 windowsize "$win" 1280 800
fi
sleep "$settle"
DISPLAY=$display import -window root "$picture"
echo "screenshot: $picture"
