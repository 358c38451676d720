#!/usr/bin/env bash
# Runs every benchmark of a build folder, then prints one table of all their figures: each
# benchmark prints its figures as "FIGURE | what | value | goal | baseline | met" lines.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT

for bench in "$build"/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_min_time=0.2 | tee -a "$figures"
done
# Measures taken on the real program under a virtual screen and a sound server of our own.
for script in "$here"/bench/*.sh; do
  [ -x "$script" ] || continue
  echo "== $(basename "$script")"
  "$script" "$build" | tee -a "$figures"
done

echo
echo "Summary (figure | measured | goal | compared with | verdict)"
grep '^FIGURE |' "$figures" | sed 's/^FIGURE | //'
