#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tessaly needs.
# Idempotent: when everything is present it only checks and returns (a second or so).
# Works as root, or through sudo for another user.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config git
  # window and audio
  qt6-base-dev qt6-svg-dev libgl-dev portaudio19-dev libasound2-dev libsndfile1-dev libsoxr-dev
  # Qt's own dialogs and menus in Chinese
  qt6-translations-l10n
  # the charts of the 学习进度 window (Qt Charts' CMake files look for Qt OpenGL's,
  # which qt6-charts-dev does not pull in)
  qt6-charts-dev libqt6opengl6-dev
  # the width of Chinese text in a terminal (tessaly stats)
  libunistring-dev
  # tests and benchmarks (FFTW: the spectra the HF path's measurement program takes)
  googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libfftw3-dev
  # data: the callsign library comes from qrq's list of real callsigns
  qrq
  # voices and noise recordings are made at build time
  flite espeak-ng sox festival festvox-us-slt-hts
  # the window under a virtual screen, and Chinese fonts
  xvfb xauth fonts-noto-cjk fonts-liberation2
  # closing the real window under a window manager, in the tests
  openbox xdotool imagemagick x11-utils
  # a private sound server stands in for a sound card in the device tests
  pulseaudio pulseaudio-utils libasound2-plugins alsa-utils
  # the AppStream metainfo is checked as software centres read it
  appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

if ((EUID == 0)); then as_root=(); else as_root=(sudo); fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
