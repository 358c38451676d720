#!/usr/bin/env bash
# Starts the program on a fresh copy of the demo drive as drive C.
set -euo pipefail
program=$1
run_dir=$2
here=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$run_dir"
mkdir -p "$run_dir"
cp -a "$here/demo/drive_c" "$run_dir/drive_c"
echo "Drive C is $run_dir/drive_c (a fresh copy of demo/drive_c)"
cd "$run_dir"
KARVEL_DRIVE_C="$run_dir/drive_c" exec "$program"
