#!/usr/bin/env bash
# Click to sound: the time from a click on a song button of the real program to the song's first
# sound at the sound server's sink, for a WAV and an MP3 demo song, beside the time from starting
# paplay on the same file to its first sound. One FIGURE line per figure, for the benchmarks' table.
#
# Set-up: the program under a virtual screen (Xvfb), drawing into the private sound server of
# scripts/with-pulse.sh (started here when it is not running yet); parecord records the null
# sink's monitor for the whole run.
#
# Method: a sound arrives at frame k of the recording, at time t0 + k / 48000, where t0 is the time
# of the recording's first frame. t0 is found from the file's growth: a poller reads the file's size
# S and then the clock T, again and again; the S bytes were all captured before T, so
# t0 <= T - S / (48000 * 4) for every pair, and the smallest such bound is taken. A song button
# acts when the mouse button is released, so the click's time is read just before xdotool releases
# it (xdotool's own click holds the button down for 12 ms); paplay's is read just before paplay
# starts. Both figures thus include starting one small process. The first sound is the first frame with a sample beyond +-16.
#
# Error: t0 comes out late by parecord's delivery delay (its 5 ms latency plus scheduling), so every
# figure is too large by some 0 to 10 ms; the same t0 serves ours and paplay's figures, so their
# difference does not carry that error. The poller and the clock add under 1 ms. The figures are
# the median of the rounds; the two cores are shared, so single rounds scatter by tens of ms.
#
# A third source shows where our time goes: tests/e2e/helper_playercue, the media player alone in
# a process of its own, timed from the moment it is told to play (a line down a pipe).
#
# Usage: bench/clicktosound.sh <build folder> [rounds]
set -euo pipefail
if [ -z "${KARVEL_PULSE_SINK:-}" ]; then
  if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "clicktosound: SKIP: pulseaudio is missing" >&2
    exit 0
  fi
  exec "$(dirname "$0")/../scripts/with-pulse.sh" "$0" "$@"
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
E2E_NAME=clicktosound
# shellcheck source=../scripts/e2e-lib.sh
source "$repo/scripts/e2e-lib.sh"
build=$(realpath "$1")
program=$build/app/karvel
cue=$build/tests/helper_playercue
rounds=${2:-5}
E2E_SKIP_STATUS=0 e2e_need_tools paplay

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/karvel-clicktosound.XXXXXX")
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

cp -a "$repo/demo/drive_c" "$E2E_WORK/drive_c"
# The board stays on screen after a click, so the next click finds its button.
printf '[OptionS]\r\nCheckBoxNoTxt=OFF\r\n' >"$E2E_WORK/drive_c/WINDOWS/pelcor.ini"
songs=$E2E_WORK/drive_c/KARVEL/SONGS
# Section1 of the demo kit: button 2 holds rassvet.wav, button 1 дорога.mp3.
declare -A button=([wav]=2 [mp3]=1)
declare -A file=([wav]="$songs/rassvet.wav" [mp3]="$songs/дорога.mp3")

e2e_start_screen
e2e_start_recording
while kill -0 "$E2E_RECORDER" 2>/dev/null; do
  size=$(stat -c %s "$E2E_REC")
  echo "$(e2e_now_us) $size"
  sleep 0.005
done >"$E2E_WORK/clock" 2>/dev/null &
e2e_pids+=($!)
e2e_start_program "$program"
e2e_wait_for_main_window

# The player alone, one process per file, told to play through a pipe (a build with tests only).
declare -A cue_in
kinds_with_cue=()
[ -x "$cue" ] && kinds_with_cue=(wav mp3)
for kind in "${kinds_with_cue[@]}"; do
  mkfifo "$E2E_WORK/cue-$kind"
  "$cue" "${file[$kind]}" <"$E2E_WORK/cue-$kind" >"$E2E_WORK/cue-$kind.out" 2>&1 &
  e2e_pids+=($!)
  exec {fd}>"$E2E_WORK/cue-$kind"
  cue_in[$kind]=$fd
  e2e_wait_for 10 grep -q ready "$E2E_WORK/cue-$kind.out" || e2e_fail "helper_playercue did not open ${file[$kind]}"
done

# Waits for the first sound after frame `from`, then for 300 ms of silence after `stop` has run;
# prints the frame of that first sound.
sound_then_silence() {
  local from=$1
  shift
  e2e_wait_for 5 e2e_sound_after "$from" || e2e_fail "no sound within 5 s"
  "$@"
  e2e_wait_for 5 e2e_tail_silent 300 || e2e_fail "the sound did not stop"
  echo "$E2E_SOUND_FRAME"
}

stop_program_song() { xdotool key --clearmodifiers space; }
stop_cue() { echo stop >&"${cue_in[$kind]}"; }
stop_paplay() { kill -TERM "$player" 2>/dev/null || true; wait "$player" 2>/dev/null || true; }

# Lines "<kind> <start time in us> <frame of first sound>", one per round and source.
: >"$E2E_WORK/events"
xdotool windowfocus --sync "$E2E_MAIN"
for ((round = 1; round <= rounds; round++)); do
  for kind in wav mp3; do
    read -r x y < <(e2e_song_button_centre "${button[$kind]}")
    xdotool mousemove --sync "$x" "$y"
    xdotool mousedown 1
    from=$(e2e_recorded_frames)
    start=$(e2e_now_us)
    xdotool mouseup 1
    frame=$(sound_then_silence "$from" stop_program_song)
    echo "karvel-$kind $start $frame" >>"$E2E_WORK/events"

    from=$(e2e_recorded_frames)
    start=$(e2e_now_us)
    paplay "${file[$kind]}" &
    player=$!
    e2e_pids+=("$player")
    frame=$(sound_then_silence "$from" stop_paplay)
    echo "paplay-$kind $start $frame" >>"$E2E_WORK/events"

    [ -n "${cue_in[$kind]:-}" ] || continue
    from=$(e2e_recorded_frames)
    start=$(e2e_now_us)
    echo play >&"${cue_in[$kind]}"
    frame=$(sound_then_silence "$from" stop_cue)
    echo "player-$kind $start $frame" >>"$E2E_WORK/events"
  done
done

# t0 in us: the smallest bound T - S / bytes per us over the poller's pairs with data.
t0=$(awk -v bpus="$((E2E_RATE * E2E_FRAME_BYTES))" '
  $2 > 0 { b = $1 - $2 * 1000000 / bpus; if (min == "" || b < min) min = b }
  END { printf "%.0f", min }' "$E2E_WORK/clock")
[ -n "$t0" ] || e2e_fail "the recording's start time is unknown"

# The delays of one source in ms: "<median> <smallest> <largest> <rounds>".
delays() {
  awk -v kind="$1" -v t0="$t0" -v rate="$E2E_RATE" '
    $1 == kind { d[n++] = (t0 + $3 * 1000000 / rate - $2) / 1000 }
    END {
      for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (d[j] < d[i]) { t = d[i]; d[i] = d[j]; d[j] = t }
      m = n % 2 ? d[int(n / 2)] : (d[n / 2 - 1] + d[n / 2]) / 2
      printf "%.1f %.1f %.1f %d\n", m, d[0], d[n - 1], n
    }' "$E2E_WORK/events"
}
first_delay() {
  awk -v kind="$1" -v t0="$t0" -v rate="$E2E_RATE" '
    $1 == kind { printf "%.1f", (t0 + $3 * 1000000 / rate - $2) / 1000; exit }' "$E2E_WORK/events"
}

# One FIGURE line: what, the source measured, the baseline's source, a note.
figure() {
  local median low high n base
  read -r median low high n < <(delays "$2")
  read -r base _ < <(delays "$3")
  echo "FIGURE | $1 | $median ms | goal no slower than paplay | baseline $base ms | $4; median of $n, range $low to $high ms"
}

figure "click to first sound at the sink, WAV song (rassvet.wav, 22.05 kHz mono)" karvel-wav paplay-wav \
  "paplay on the same file; first click after start-up $(first_delay karvel-wav) ms"
figure "click to first sound at the sink, MP3 song (дорога.mp3, 64 kbit/s)" karvel-mp3 paplay-mp3 \
  "paplay on the same file"
read -r paplay_wav low high n < <(delays paplay-wav)
echo "FIGURE | paplay start to first sound at the sink, the same WAV | $paplay_wav ms | goal the baseline | baseline $paplay_wav ms | PulseAudio's own player; median of $n, range $low to $high ms"
[ ${#kinds_with_cue[@]} -gt 0 ] || exit 0
figure "the media player alone, play() to first sound at the sink, the same WAV" player-wav paplay-wav \
  "helper_playercue, its output already open"
figure "the media player alone, play() to first sound at the sink, the same MP3" player-mp3 paplay-mp3 \
  "helper_playercue, its output already open"
