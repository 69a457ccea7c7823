#!/usr/bin/env bash
# make-tone-pack.sh DIR [HZ [SECONDS]]
#
# Makes a voice pack whose every clip is a steady tone (1000 Hz, 0.6 s by default):
# one WAV file for each clip name of the built-in voices (001..026, 101..126,
# 201..226, 301..326, 00..09, 10..19, PORTABLE, MOBILE, QRP), 48000 Hz 16-bit mono,
# with 5 ms fades so that the tone's ends do not click. Through the ionospheric path
# such a pack shows what the fading does inside and between clips:
#
#   tools/make-tone-pack.sh /tmp/tone-pack
#   build/src/shell/tessaly voices /tmp/tone-pack
#   build/src/shell/tessaly render --voices /tmp/tone-pack --groups 5 --seed 1 --out tone.wav
#
# DIR is made if missing; files already there are never overwritten. Needs sox.
set -euo pipefail
usage() { echo "usage: make-tone-pack.sh DIR [HZ [SECONDS]]" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 3 ] || usage
dir=$1
hz=${2:-1000}
seconds=${3:-0.6}
[[ $hz =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "make-tone-pack: HZ must be a number: $hz" >&2; exit 2; }
[[ $seconds =~ ^[0-9]*\.?[0-9]+$ ]] || { echo "make-tone-pack: SECONDS must be a number: $seconds" >&2; exit 2; }
awk -v h="$hz" 'BEGIN { exit !(h >= 20 && h <= 10000) }' || { echo "make-tone-pack: HZ must be 20..10000" >&2; exit 2; }
# The program refuses clips longer than 2 s after trimming.
awk -v s="$seconds" 'BEGIN { exit !(s >= 0.05 && s <= 2) }' || { echo "make-tone-pack: SECONDS must be 0.05..2" >&2; exit 2; }
command -v sox >/dev/null || { echo "make-tone-pack: sox is missing (apt install sox)" >&2; exit 1; }

names=()
for n in $(seq -w 1 26); do names+=("0$n" "1$n" "2$n" "3$n"); done
for d in 0 1 2 3 4 5 6 7 8 9; do names+=("0$d" "1$d"); done
names+=(PORTABLE MOBILE QRP)

mkdir -p "$dir"
for name in "${names[@]}"; do
  if [ -e "$dir/$name.wav" ]; then
    echo "make-tone-pack: $dir/$name.wav is there already; nothing written" >&2
    exit 1
  fi
done
for name in "${names[@]}"; do
  sox -n -r 48000 -b 16 -c 1 "$dir/$name.wav" synth "$seconds" sine "$hz" fade t 0.005 "$seconds" 0.005 gain -6
done
echo "make-tone-pack: ${#names[@]} clips of $seconds s at $hz Hz in $dir"
