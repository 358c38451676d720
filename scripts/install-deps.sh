#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent: asks apt only for what is missing, without recommended extras.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  # window framework
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # audio decoding and output, mixer
  libsndfile1-dev libfluidsynth-dev timgm6mb-soundfont libsdl2-dev libasound2-dev
  # seven-segment display font, fonts with Arial's metrics and with Cyrillic
  fonts-dseg fonts-liberation2 fonts-dejavu-core fontconfig
  # tests: a sound server with a null sink, a virtual screen, benchmarks
  pulseaudio pulseaudio-utils alsa-utils libasound2-plugins xvfb xauth xdotool x11-apps x11-utils imagemagick
  libxcb1-dev desktop-file-utils libbenchmark-dev
  # sanitizer and fuzz builds
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
