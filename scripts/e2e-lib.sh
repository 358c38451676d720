#!/usr/bin/env bash
# Shared steps of the scripts that drive the real program: a virtual screen (Xvfb), the program
# on a fresh copy of the demo drive, clicks and keys (xdotool), and the private sound server's null
# sink recorded from its monitor (parecord). Sourced by tests/e2e/run-e2e.sh and
# bench/clicktosound.sh; every wait polls its condition up to a deadline.
#
# The caller sets E2E_WORK (a temporary folder it removes) and calls e2e_cleanup from its EXIT trap.

export LC_ALL=C

# The recording: raw signed 16-bit little-endian stereo at the null sink's own rate.
E2E_RATE=48000
E2E_FRAME_BYTES=4
# A sample beyond this is sound; the null sink gives exact zeros while nothing plays.
E2E_SILENCE=16
E2E_SCREEN_W=1280
E2E_SCREEN_H=800

e2e_pids=()

e2e_log() { echo "${E2E_NAME:-e2e}: $*" >&2; }
e2e_fail() {
  e2e_log "FAIL: $*"
  if [ -s "${E2E_WORK:-/nonexistent}/program.log" ]; then
    e2e_log "the program's output:"
    sed 's/^/    /' "$E2E_WORK/program.log" >&2
  fi
  exit 1
}
# Wall-clock time without starting a process: bash's own clock, in microseconds and milliseconds.
e2e_now_us() { local t=$EPOCHREALTIME; echo $((${t%.*} * 1000000 + 10#${t#*.})); }
e2e_now_ms() { echo $(($(e2e_now_us) / 1000)); }

# Exits 77, the tests' skip status, when a tool or the private sound server is missing.
e2e_need_tools() {
  local tool
  for tool in Xvfb xdotool parecord pactl od awk "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      e2e_log "SKIP: $tool is missing (packages xvfb, xdotool, pulseaudio-utils)"
      exit "${E2E_SKIP_STATUS:-77}"
    fi
  done
  if [ -z "${KARVEL_PULSE_SINK:-}" ] || ! pactl info >/dev/null 2>&1; then
    e2e_log "SKIP: no private sound server; run inside scripts/with-pulse.sh"
    exit "${E2E_SKIP_STATUS:-77}"
  fi
}

# Polls a shell condition every 20 ms until it holds or `seconds` have passed.
e2e_wait_for() {
  local seconds=$1
  shift
  local deadline=$(($(e2e_now_ms) + seconds * 1000))
  until "$@"; do
    [ "$(e2e_now_ms)" -ge "$deadline" ] && return 1
    sleep 0.02
  done
}

e2e_start_screen() {
  # -displayfd: the server picks a free display and writes its number once it accepts clients.
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN_W}x${E2E_SCREEN_H}x24" -nolisten tcp \
    3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 &
  e2e_pids+=($!)
  e2e_wait_for 5 test -s "$E2E_WORK/display" || e2e_fail "Xvfb did not start"
  DISPLAY=:$(head -n 1 "$E2E_WORK/display")
  export DISPLAY
}

# Starts the program on drive C = $E2E_WORK/drive_c, with the sound server as its output.
e2e_start_program() {
  local program=$1
  (cd "$E2E_WORK" && KARVEL_DRIVE_C="$E2E_WORK/drive_c" QT_QPA_PLATFORM=xcb \
    SDL_AUDIODRIVER=pulseaudio exec "$program") >"$E2E_WORK/program.log" 2>&1 &
  E2E_APP=$!
  e2e_pids+=("$E2E_APP")
}

e2e_program_running() { kill -0 "$E2E_APP" 2>/dev/null; }

e2e_find_window() {
  E2E_WIN=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [ -n "$E2E_WIN" ]
}
e2e_no_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
e2e_window_fills_screen() {
  xdotool getwindowgeometry "$E2E_WIN" 2>/dev/null | grep -q "Geometry: ${E2E_SCREEN_W}x${E2E_SCREEN_H}"
}

# Waits for the main window, gives it the whole screen (no window manager maximises it) and waits
# until the splash screen has come and gone, since it blocks input to the main window.
e2e_wait_for_main_window() {
  main_window_or_end() { e2e_find_window '^ C:\\KARVEL\\TEMES' || ! e2e_program_running; }
  e2e_wait_for 10 main_window_or_end || e2e_fail "no main window appeared"
  [ -n "$E2E_WIN" ] || e2e_fail "the program ended before its window appeared"
  E2E_MAIN=$E2E_WIN
  xdotool windowmove "$E2E_MAIN" 0 0 windowsize "$E2E_MAIN" "$E2E_SCREEN_W" "$E2E_SCREEN_H"
  e2e_wait_for 5 e2e_window_fills_screen || e2e_fail "the main window did not take the screen"
  e2e_wait_for 5 e2e_find_window '^Karvel$' || e2e_fail "the splash screen did not appear"
  e2e_wait_for 5 e2e_no_window '^Karvel$' || e2e_fail "the splash screen did not close"
  E2E_WIN=$E2E_MAIN
}

# The centre of song button n (1 ... 10, the first column) on the screen. The board is centred on
# the screen's work area and lies 88 below the client area's top; the main window is at 0,0 and
# has no frame without a window manager, so client and screen coordinates agree.
e2e_song_button_centre() {
  local n=$1
  local board_left=$(((E2E_SCREEN_W - 977) / 2))
  echo "$((board_left + 8 + 235 / 2)) $((88 + 135 + 36 * (n - 1) + 34 / 2))"
}

# Starts recording the null sink's monitor; E2E_REC is the raw file.
e2e_start_recording() {
  E2E_REC=$E2E_WORK/sink.raw
  parecord --device="$KARVEL_PULSE_SINK.monitor" --raw --format=s16le --rate=$E2E_RATE \
    --channels=2 --latency-msec=5 "$E2E_REC" &
  e2e_pids+=($!)
  E2E_RECORDER=$!
  e2e_wait_for 3 test -s "$E2E_REC" || e2e_fail "parecord records nothing"
}

e2e_recorded_frames() { echo $(($(stat -c %s "$E2E_REC") / E2E_FRAME_BYTES)); }

# The index of the first frame at or after frame `from` with a sample beyond the silence level;
# empty when there is none yet.
e2e_first_sound_frame() {
  local from=$1
  local frames
  frames=$(e2e_recorded_frames)
  [ "$frames" -gt "$from" ] || return 0
  od -An -v -td2 -w4 -j $((from * E2E_FRAME_BYTES)) -N $(((frames - from) * E2E_FRAME_BYTES)) "$E2E_REC" |
    awk -v from="$from" -v level="$E2E_SILENCE" '
      { l = $1 < 0 ? -$1 : $1; r = $2 < 0 ? -$2 : $2
        if (l > level || r > level) { print from + NR - 1; exit } }'
}

# True when the last `ms` milliseconds recorded hold no sound.
e2e_tail_silent() {
  local ms=$1
  local frames need
  frames=$(e2e_recorded_frames)
  need=$((E2E_RATE * ms / 1000))
  [ "$frames" -ge "$need" ] || return 1
  [ -z "$(e2e_first_sound_frame $((frames - need)))" ]
}

# Waits until sound arrives at or after frame `from`; sets E2E_SOUND_FRAME.
e2e_sound_after() {
  E2E_SOUND_FRAME=$(e2e_first_sound_frame "$1")
  [ -n "$E2E_SOUND_FRAME" ]
}

# The sink's volume on the 0 ... 65536 scale, the front left channel's.
e2e_sink_volume() {
  pactl get-sink-volume "$KARVEL_PULSE_SINK" | sed -n 's/.*front-left: *\([0-9]*\) .*/\1/p' | head -n 1
}

# A value of the settings file, its Windows line ends removed.
e2e_setting() {
  local section=$1 key=$2
  tr -d '\r' <"$E2E_WORK/drive_c/WINDOWS/pelcor.ini" |
    awk -v section="[$section]" -v key="$key" '
      /^\[/ { inside = (tolower($0) == tolower(section)); next }
      inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# Stops what the script started, newest first: TERM, then KILL after a bounded wait.
e2e_cleanup() {
  local i pid
  for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
    pid=${e2e_pids[i]}
    kill -0 "$pid" 2>/dev/null || continue
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
}
