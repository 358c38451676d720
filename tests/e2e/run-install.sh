#!/usr/bin/env bash
# Installation: `cmake --install` into a temporary prefix puts the program, its desktop entry,
# its icon and the demo drive in their places, and the installed program's first start, for a
# user who has no drive C yet, makes drive C from the installed demo drive.
#
# Usage: tests/e2e/run-install.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
E2E_NAME=install
# shellcheck source=../../scripts/e2e-lib.sh
source "$repo/scripts/e2e-lib.sh"
build=$(realpath "$1")

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/karvel-install.XXXXXX")
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
prefix=$E2E_WORK/prefix

cmake --install "$build" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
  { cat "$E2E_WORK/install.log" >&2; e2e_fail "cmake --install failed"; }

[ -x "$prefix/bin/karvel" ] || e2e_fail "no bin/karvel"
entry=$prefix/share/applications/karvel.desktop
[ -f "$entry" ] || e2e_fail "no share/applications/karvel.desktop"
icon=$prefix/share/icons/hicolor/scalable/apps/karvel.svg
cmp -s "$icon" "$repo/resources/karvel.svg" || e2e_fail "the icon is not resources/karvel.svg"
diff -r "$repo/demo/drive_c" "$prefix/share/karvel/demo/drive_c" >&2 ||
  e2e_fail "the installed demo drive differs from demo/drive_c"

grep -qx 'Exec=karvel' "$entry" || e2e_fail "the desktop entry does not start karvel"
grep -qx 'Icon=karvel' "$entry" || e2e_fail "the desktop entry does not name the icon karvel"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" >&2 || e2e_fail "desktop-file-validate refuses the entry"
else
  e2e_log "desktop-file-validate is missing (package desktop-file-utils): entry not validated"
fi

# A user without drive C: the default place under XDG_DATA_HOME is filled at the first start,
# before any window shows, and the program goes on running on it. Its mixer is sent to a sound
# server that does not exist, so that it leaves every real volume alone.
home=$E2E_WORK/home
mkdir -p "$home"
drive=$home/.local/share/karvel/drive_c
(cd "$home" && exec env -u KARVEL_DRIVE_C -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
  SDL_AUDIODRIVER=dummy PULSE_SERVER="unix:$E2E_WORK/no-server" "$prefix/bin/karvel") >"$E2E_WORK/program.log" 2>&1 &
E2E_APP=$!
e2e_pids+=("$E2E_APP")
first_copy_done() { [ -f "$drive/KARVEL/TEMES/First.qbk" ] && [ -f "$drive/WINDOWS/pelcor.ini" ]; }
e2e_wait_for 20 first_copy_done || e2e_fail "the first start made no drive C at $drive"
# The copy is renamed into place whole, so once the kit is there the whole tree is.
diff -r "$repo/demo/drive_c" "$drive" >&2 || e2e_fail "drive C is not a copy of the demo drive"
e2e_program_running || e2e_fail "the installed program did not keep running"
[ -z "$(find "$(dirname "$drive")" -mindepth 1 -maxdepth 1 -name '.drive_c-*')" ] ||
  e2e_fail "a staging folder was left beside drive C"
e2e_log "PASS: installed to a prefix, first start made drive C from the demo"
