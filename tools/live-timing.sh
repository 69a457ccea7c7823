#!/usr/bin/env bash
# live-timing.sh TESSALY ONSETS [SEED] [LOAD]
#
# How closely the live sound keeps the offline render's timing: a 4-callsign
# continuous practice is rendered offline (`script --wav`) and played live on a
# private PulseAudio null sink (../shared-style pulse-capture: a recorder on the
# sink's monitor), and tessaly_onsets compares where each clip begins. LOAD=n keeps
# n busy loops running meanwhile (default 2: both cores of a small machine).
# Needs pulseaudio, pulseaudio-utils, libasound2-plugins.
set -u
tessaly=$(realpath "${1:?usage: live-timing.sh TESSALY ONSETS [SEED] [LOAD]}")
onsets=$(realpath "${2:?usage: live-timing.sh TESSALY ONSETS [SEED] [LOAD]}")
seed=${3:-3}; load=${4:-2}
capture=${PULSE_CAPTURE:-$(dirname "$0")/../../shared/tools/pulse-capture.sh}
work=$(mktemp -d /tmp/tessaly-timing.XXXXXX)
busy=()
cleanup() { for p in "${busy[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT
# A learner's own record and settings stay out of it.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
printf 'settext Text2 "4"\nclick Option9\nclick Command4\nwait 40000\n' >"$work/practice.txt"
"$tessaly" script "$work/practice.txt" --seed "$seed" --wav "$work/offline.wav" >/dev/null || exit 1
for _ in $(seq "$load"); do (while :; do :; done) & busy+=($!); done
PC_TIMEOUT=90 TESSALY_TIMING=1 "$capture" "$tessaly script $work/practice.txt --seed $seed --live >/dev/null 2>$work/stderr" "$work/live.wav" || exit 1
for p in "${busy[@]}"; do kill "$p" 2>/dev/null; done; busy=()
grep "live timing" "$work/stderr"
"$onsets" "$work/offline.wav" "$work/live.wav"
