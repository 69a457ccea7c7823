#!/usr/bin/env bash
# make_clips.sh MAKE_CLIP LIST OUTDIR
#
# Speaks every word of one word list with a Debian text-to-speech program and
# writes each as OUTDIR/<name>.wav: PCM mono 16-bit 22050 Hz, trimmed to the
# word and brought to one common loudness by MAKE_CLIP (tessaly_make_clip, the
# rule a voice pack's recordings go through too), 0.27 s to 0.83 s long.
#
# The list is plain text. Blank lines and lines starting with '#' are skipped.
# One line "voice flite <voice> [<flite options>...]" or
# "voice espeak-ng <voice> [<espeak-ng options>...]" names the speaker; every
# other line is "<clip name> [fade=<ms>] <text to speak>". Text for espeak-ng
# may be given as phonemes between [[ and ]]. fade= sets a longer fade-out for
# a word the speaker ends abruptly: a vowel cut off at full level is heard as
# a stop consonant after it (Norway heard as "Norway eight").
#
# Only bash, the speaker, sox and MAKE_CLIP are used, so that a fresh machine
# builds the voices with nothing but the packages of scripts/setup.sh. The
# output is the same bytes on every run: both speakers are deterministic and
# sox runs without dither (-D) and in repeatable mode (-R).
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 MAKE_CLIP LIST OUTDIR" >&2
  exit 2
fi
make_clip=$1
list=$2
outdir=$3

# Lengths in seconds. Long words are sped up (pitch kept) to the target; the
# target sits under the limit because sox's tempo lands only near the length
# asked for. Words shorter than the minimum get silence added at the end, so
# the word still starts at the clip's first frames.
readonly max_len=0.83
readonly target_len=0.80
readonly min_len=0.27

sox_() { sox -D -R -V1 "$@"; }

mkdir -p "$outdir"
work=$(mktemp -d "${outdir%/}/.work.XXXXXX")
trap 'rm -rf "$work"' EXIT

engine=""
voice_opts=()

# synth TEXT FILE: speak TEXT into FILE with the list's voice.
synth() {
  case $engine in
    flite) flite "${voice_opts[@]}" -t "$1" -o "$2" ;;
    espeak-ng) espeak-ng "${voice_opts[@]}" -w "$2" "$1" ;;
    *) echo "$list: no 'voice' line before the first word" >&2; exit 1 ;;
  esac
}

# make_one NAME FADE_MS TEXT
make_one() {
  local name=$1 fade=$2 text=$3
  local raw=$work/raw.wav a=$work/a.wav b=$work/b.wav out=$outdir/$name.wav
  # The trim below ends with the word reversed, where a fade-in is a fade-out
  # of the word's end (sox's default shape, logarithmic).
  local fade_effect=()
  [[ -n $fade ]] && fade_effect=(fade "$(awk -v ms="$fade" 'BEGIN { printf "%.3f", ms / 1000 }')")
  synth "$text" "$raw"
  # Mono at 22050 Hz in float, the speaker's low-level lead-in and tail cut off
  # at 50 dB under the word's peak and replaced by silence, so that the clip
  # rule's short fades fall on silence, not on the ends of the word: faded
  # there, words were heard with a "t" between them (machine listening of
  # whole practices, check_callsigns.sh).
  sox_ "$raw" -e floating-point -b 32 "$a" remix 1 rate -v 22050 norm 0 \
    silence 1 0.005 -50d reverse silence 1 0.005 -50d "${fade_effect[@]}" reverse pad 0.01 0.03
  local len
  len=$("$make_clip" "$a" "$out" --min-seconds "$min_len")
  if awk -v l="$len" -v m="$max_len" 'BEGIN { exit !(l > m) }'; then
    local factor
    factor=$(awk -v l="$len" -v t="$target_len" 'BEGIN { printf "%.4f", l / t }')
    # -s: tuned for speech (short segments, so consonants are not smeared).
    sox_ "$a" "$b" tempo -s "$factor"
    "$make_clip" "$b" "$out" --min-seconds "$min_len" >/dev/null
  fi
  len=$(soxi -D "$out")
  if awk -v l="$len" -v lo="$min_len" -v hi="$max_len" 'BEGIN { exit !(l < lo || l > hi) }'; then
    echo "$list: clip $name ('$text') is $len s long, outside $min_len..$max_len s" >&2
    rm -f "$out"
    exit 1
  fi
}

while IFS= read -r line || [[ -n $line ]]; do
  line=${line%$'\r'}
  [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
  read -r key rest <<<"$line"
  if [[ $key == voice ]]; then
    read -r -a words <<<"$rest"
    engine=${words[0]}
    case $engine in
      flite) voice_opts=(-voice "${words[1]}" "${words[@]:2}") ;;
      espeak-ng) voice_opts=(-v "${words[1]}" "${words[@]:2}") ;;
      *) echo "$list: unknown speaker '$engine'" >&2; exit 1 ;;
    esac
    continue
  fi
  fade=""
  if [[ $rest == fade=* ]]; then
    read -r option rest <<<"$rest"
    fade=${option#fade=}
  fi
  make_one "$key" "$fade" "$rest"
done <"$list"
