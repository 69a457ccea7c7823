#!/usr/bin/env bash
# Takes docs/screenshot.png: the window after a marked practice, on a virtual X
# screen with a window manager, so that the caption bar shows too.
# Needs, besides the build: xvfb xauth openbox imagemagick xdotool
# usage: docs/make_screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath docs)/screenshot.png
scene="$build/tools/tessaly_screenshot_scene"
[[ -x $scene ]] || { echo "make_screenshot: build $scene first" >&2; exit 1; }

xvfb-run -a -s "-screen 0 1280x800x24" bash -euo pipefail -c '
  scene=$1 out=$2
  openbox >/dev/null 2>&1 & wm=$!
  "$scene" 20 & app=$!
  for _ in $(seq 100); do
    xdotool search --name "Tessaly V2.0" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1  # the first paint
  # Rest the pointer on the answer list: its tooltip is the summary.
  xdotool search --name "Tessaly V2.0" | head -1 | xargs -I{} xdotool mousemove --window {} 200 330
  xdotool mousemove_relative 1 1
  sleep 2
  shot=$(mktemp --suffix=.png)
  import -window root "$shot"
  # The root is black: trimming leaves the window with its frame and tooltip.
  convert "$shot" -trim +repage "$out"
  rm -f "$shot"
  kill "$app" "$wm" 2>/dev/null || true
  wait 2>/dev/null || true
' _ "$scene" "$out"
echo "make_screenshot: wrote $out"
