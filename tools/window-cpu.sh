#!/usr/bin/env bash
# window-cpu.sh TESSALY [STATIONS [SECONDS]]
#
# The window's CPU while a pile-up plays, as a share of one core: the program runs
# on a virtual X screen with a window manager, its settings restored from a folder of
# the script's own (a pile-up of STATIONS stations, 6 by default, as a steady stream,
# over S3 noise with QRN and QSB, each station on the `moderate` path, the receiver's
# passband and AGC), 开始 pressed with F5, and the process's CPU time taken over
# SECONDS (60 by default) once the first round has begun. Without a sound device the
# engine renders into the null output in real time, as it does for a sound card.
# Needs xvfb, xauth, openbox and xdotool.
set -euo pipefail
usage() { echo "usage: window-cpu.sh TESSALY [STATIONS [SECONDS]]" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 3 ] || usage
tessaly=$(realpath "$1")
stations=${2:-6}
seconds=${3:-60}
[[ $stations =~ ^[2-6]$ ]] || usage
[[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage
work=$(mktemp -d /tmp/tessaly-cpu.XXXXXX)
trap 'rm -rf "$work"' EXIT
# A learner's own record and settings stay out of it.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_CONFIG_HOME/tessaly"
cat >"$XDG_CONFIG_HOME/tessaly/settings.json" <<JSON
{"record": true, "drill": false,
 "practice": {"groups": "500", "noise": "S3", "conditions": "qrn,qsb", "path": "moderate", "passband": "on",
              "agc": "medium", "speaker": "varied", "pileup": "$stations", "pileup-stream": "on"}}
JSON
xvfb-run -a -s "-screen 0 1280x800x24" bash -euo pipefail -c '
  tessaly=$1 seconds=$2
  openbox >/dev/null 2>&1 & wm=$!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
  "$tessaly" >/dev/null 2>&1 & app=$!
  window=
  for _ in $(seq 200); do window=$(xdotool search --name "Tessaly V2.0" 2>/dev/null | head -1) && [ -n "$window" ] && break; sleep 0.1; done
  [ -n "$window" ] || { echo "window-cpu: the window did not open" >&2; exit 1; }
  sleep 2  # the first paint, the record read
  xdotool windowactivate --sync "$window" key F5
  sleep 3  # the first round begins
  ticks() { awk "{ print \$14 + \$15 }" "/proc/$app/stat"; }
  hz=$(getconf CLK_TCK)
  t0=$(ticks); s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks); s1=$(date +%s.%N)
  awk -v t="$((t1 - t0))" -v hz="$hz" -v a="$s0" -v b="$s1" "BEGIN { printf \"window CPU while the pile-up plays: %.2f %% of a core over %.0f s\n\", 100 * t / hz / (b - a), b - a }"
  kill "$app" "$wm" 2>/dev/null || true
  wait 2>/dev/null || true
' _ "$tessaly" "$seconds"
