#!/usr/bin/env bash
# Takes docs/screenshot.png (the window after a marked practice, its wrong
# characters marked), docs/screenshot-2x.png (the same magnified twice on a
# 1280 x 900 screen), docs/analysis.png (the window beside its error analysis) and
# docs/threshold.png (a threshold run's result beside its marked list),
# docs/progress.png (the window beside 学习进度, over a learning record of five weeks),
# docs/pileup.png (a finished pile-up: the marked list beside the box of its callers),
# on a virtual X screen with a window manager, so that the caption bars show too.
# Needs, besides the build: xvfb xauth openbox imagemagick xdotool x11-utils
# usage: docs/make_screenshot.sh [BUILD_DIR [SHOT...]]   (SHOT: screenshot screenshot-2x analysis progress threshold pileup; all by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
shift || true
wanted=("${@:-screenshot screenshot-2x analysis progress threshold pileup}")
wanted=" ${wanted[*]} "
scene="$build/tools/tessaly_screenshot_scene"
[[ -x $scene ]] || { echo "make_screenshot: build $scene first" >&2; exit 1; }

shoot() {  # shoot OUT.png [analysis] [SCALE SCREEN]
  xvfb-run -a -s "-screen 0 ${4:-1280x800}x24" bash -euo pipefail -c '
    scene=$1 out=$2 mode=${3:-}
    export QT_SCALE_FACTOR=$4
    openbox >/dev/null 2>&1 & wm=$!
    # A window mapped before the window manager runs is captured black: wait for it.
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
    "$scene" 20 $mode & app=$!
    for _ in $(seq 100); do
      xdotool search --name "Tessaly V2.0" >/dev/null 2>&1 && break
      sleep 0.1
    done
    sleep 1  # the first paint
    # Rest the pointer on the answer list: its tooltip is the summary.
    [[ -n $mode ]] || xdotool search --name "Tessaly V2.0" | head -1 | xargs -I{} xdotool mousemove --window {} $((200 * QT_SCALE_FACTOR)) $((330 * QT_SCALE_FACTOR))
    xdotool mousemove_relative 1 1
    sleep 2
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    # The root is black: trimming leaves the windows with their frames and tooltip.
    convert "$shot" -trim +repage "$out"
    rm -f "$shot"
    kill "$app" "$wm" 2>/dev/null || true
    wait 2>/dev/null || true
  ' _ "$scene" "$1" "${2:-}" "${3:-1}"
  echo "make_screenshot: wrote $1"
}
want() { [[ $wanted == *" $1 "* ]]; }
if want screenshot; then shoot "$(realpath docs)/screenshot.png"; fi
if want screenshot-2x; then shoot "$(realpath docs)/screenshot-2x.png" "" 2 1280x900; fi
if want analysis; then shoot "$(realpath docs)/analysis.png" analysis; fi
if want progress; then shoot "$(realpath docs)/progress.png" progress 1 1280x900; fi
if want threshold; then shoot "$(realpath docs)/threshold.png" threshold; fi
if want pileup; then shoot "$(realpath docs)/pileup.png" pileup; fi
