#!/usr/bin/env bash
# Runs every benchmark of a build folder; each prints its figure beside its baseline.
set -euo pipefail
build=${1:-build}
for bench in "$build"/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_min_time=0.2
done
