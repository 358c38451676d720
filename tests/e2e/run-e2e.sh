#!/usr/bin/env bash
# The real program end to end, under a virtual screen and with real sound: it starts on a fresh
# copy of the demo drive, a click on song button 1 plays "Дорога домой" into the private sound
# server's null sink at the song's stored volume, the space bar stops it, and closing the window
# saves the settings. Exits 77 (skipped) without Xvfb, xdotool, parecord or the sound server of
# scripts/with-pulse.sh, which `make test` runs the suite in.
#
# Usage: tests/e2e/run-e2e.sh <karvel program> <e2e_closewindow helper>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
E2E_NAME=e2e_demo
# shellcheck source=../../scripts/e2e-lib.sh
source "$repo/scripts/e2e-lib.sh"

program=$(realpath "$1")
close_window=$(realpath "$2")
e2e_need_tools

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/karvel-e2e.XXXXXX")
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A fresh demo drive whose settings keep only the text-pane option, so that closing the program
# must write the colour and the last kit itself.
cp -a "$repo/demo/drive_c" "$E2E_WORK/drive_c"
printf '[OptionS]\r\nCheckBoxNoTxt=ON\r\n' >"$E2E_WORK/drive_c/WINDOWS/pelcor.ini"

kit=$E2E_WORK/drive_c/KARVEL/TEMES/First.qbk
stored_volume=$(iconv -f cp1251 -t utf-8 "$kit" | tr -d '\r' |
  awk '/^\[/ { inside = ($0 == "[Section1]"); next } inside && /^Vol1=/ { print substr($0, 6); exit }')
[ -n "$stored_volume" ] || e2e_fail "the demo kit has no Vol1 in Section1"
expected_volume=$((stored_volume * 655))

e2e_start_screen
e2e_start_recording
e2e_start_program "$program"
e2e_wait_for_main_window
caption=$(xdotool getwindowname "$E2E_MAIN")
[ "$caption" = ' C:\KARVEL\TEMES\First.qbk' ] || e2e_fail "window caption is '$caption'"
e2e_log "main window up: '$caption'"

read -r x y < <(e2e_song_button_centre 1)
xdotool mousemove --sync "$x" "$y"
silent_until=$(e2e_recorded_frames)
[ -z "$(e2e_first_sound_frame 0)" ] || e2e_fail "sound reached the sink before the click"
xdotool click 1
clicked_ms=$(e2e_now_ms)

# Bounded: a song that has not sounded 3 s after the click is a failure, not a slow start.
e2e_wait_for 3 e2e_sound_after "$silent_until" || e2e_fail "no sound at the sink within 3 s of the click"
e2e_log "sound at the sink $(($(e2e_now_ms) - clicked_ms)) ms after the click (seen by polling)"

# The ALSA plugin's scale ends at 65536, the program's at 65535: a rounding step may add 1.
volume_is_stored() {
  local v
  v=$(e2e_sink_volume)
  [ -n "$v" ] && [ "$v" -ge "$expected_volume" ] && [ "$v" -le $((expected_volume + 1)) ]
}
e2e_wait_for 3 volume_is_stored ||
  e2e_fail "sink volume is $(e2e_sink_volume), not Vol1 $stored_volume x 655 = $expected_volume"
e2e_log "sink volume $(e2e_sink_volume) for Vol1=$stored_volume"
caption=$(xdotool getwindowname "$E2E_MAIN")
[ "$caption" = ' C:\KARVEL\TEMES\First.qbk' ] || e2e_fail "window caption after the click is '$caption'"

# The song is still sounding when the space bar is pressed: its last 100 ms hold sound.
e2e_wait_for 2 eval '! e2e_tail_silent 100' || e2e_fail "the song fell silent before the space bar"
xdotool windowfocus --sync "$E2E_MAIN"
xdotool key --clearmodifiers space
spaced_ms=$(e2e_now_ms)
e2e_wait_for 3 e2e_tail_silent 500 || e2e_fail "the space bar did not stop the song"
e2e_log "silent $(($(e2e_now_ms) - spaced_ms)) ms after the space bar (500 ms of silence seen)"

"$close_window" "$E2E_MAIN" || e2e_fail "could not ask the main window to close"
e2e_wait_for 5 eval '! e2e_program_running' || e2e_fail "the program did not end after its window closed"
status=0
wait "$E2E_APP" || status=$?
[ "$status" -eq 0 ] || e2e_fail "the program ended with status $status"

name_file=$(e2e_setting LastUserFile NameFile)
[ "$name_file" = 'C:\KARVEL\TEMES\First.qbk' ] || e2e_fail "pelcor.ini NameFile is '$name_file'"
# Without stored colours the window started as red 1, green 2, blue 3, and says so at the end.
colours="$(e2e_setting COLORS Red) $(e2e_setting COLORS Green) $(e2e_setting COLORS Blue)"
[ "$colours" = "1 2 3" ] || e2e_fail "pelcor.ini COLORS Red, Green, Blue are '$colours', not 1 2 3"
e2e_log "pelcor.ini: NameFile=$name_file, COLORS $colours"
e2e_log "PASS"
