#!/usr/bin/env bash
# Runs the whole test suite of a build folder with CTest; the window tests use the offscreen platform.
set -euo pipefail
build=${1:-build}
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
