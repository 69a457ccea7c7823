#!/usr/bin/env bash
# make_clips.sh LIST OUTDIR
#
# Speaks every word of one word list with a Debian text-to-speech program and
# writes each as OUTDIR/<name>.wav: PCM mono 16-bit 22050 Hz, leading and
# trailing silence trimmed, 0.27 s to 0.83 s long, at one common loudness.
#
# The list is plain text. Blank lines and lines starting with '#' are skipped.
# One line "voice flite <voice> [<flite options>...]" or
# "voice espeak-ng <voice> [<espeak-ng options>...]" names the speaker; every
# other line is "<clip name> <text to speak>". Text for espeak-ng may be given
# as phonemes between [[ and ]].
#
# Only bash, the speaker and sox are used, so that a fresh machine builds the
# voices with nothing but the packages of scripts/setup.sh. The output is the
# same bytes on every run: both speakers are deterministic and sox runs
# without dither (-D) and in repeatable mode (-R).
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 LIST OUTDIR" >&2
  exit 2
fi
list=$1
outdir=$2

# Lengths in seconds. Long words are sped up (pitch kept) to the target; the
# target sits under the limit because sox's tempo lands only near the length
# asked for. Words shorter than the minimum get silence added at the end, so
# the word still starts at the clip's first frame.
readonly max_len=0.83
readonly target_len=0.80
readonly min_len=0.27
# Loudness: every clip is brought to the same RMS of its speech, unless its
# peak would then pass -1 dBFS, where the peak decides (1 dB of headroom).
readonly target_rms_db=-17
readonly peak_db=-1
# Below this level (dBFS, after a first peak normalisation) a clip's ends
# count as silence. Low enough to keep the breath of an 'h' or the hiss of
# an 's'.
readonly silence_db=-48

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

# make_clip NAME TEXT
make_clip() {
  local name=$1 text=$2
  local raw=$work/raw.wav a=$work/a.wav b=$work/b.wav out=$outdir/$name.wav
  synth "$text" "$raw"
  # Mono at 22050 Hz in float, peak at 0 dBFS so that the silence threshold
  # is relative to the word, then trim both ends.
  sox_ "$raw" -e floating-point -b 32 "$a" remix 1 rate -v 22050 norm 0 \
    silence 1 0.002 "${silence_db}d" reverse silence 1 0.002 "${silence_db}d" reverse
  local len
  len=$(soxi -D "$a")
  if awk -v l="$len" -v m="$max_len" 'BEGIN { exit !(l > m) }'; then
    local factor
    factor=$(awk -v l="$len" -v t="$target_len" 'BEGIN { printf "%.4f", l / t }')
    # -s: tuned for speech (short segments, so consonants are not smeared).
    sox_ "$a" "$b" tempo -s "$factor"
    sox_ "$b" "$a" silence 1 0.002 "${silence_db}d" reverse silence 1 0.002 "${silence_db}d" reverse
  fi
  # Gain from one pass of sox's stats over the trimmed word.
  local gain
  gain=$(sox_ "$a" -n stats 2>&1 | awk -v tr="$target_rms_db" -v tp="$peak_db" '
    index($0, "RMS lev dB") == 1 { r = $NF }
    index($0, "Pk lev dB") == 1 { p = $NF }
    END { g = tr - r; if (p + g > tp) g = tp - p; printf "%.3f", g }')
  len=$(soxi -D "$a")
  local pad
  pad=$(awk -v l="$len" -v m="$min_len" 'BEGIN { p = m - l + 0.005; printf "%.4f", (p > 0 ? p : 0) }')
  # 2 ms fade-in and 15 ms fade-out: the trim cuts at a low level, not at
  # zero, and a cut would click.
  sox_ "$a" -e signed-integer -b 16 -c 1 -r 22050 "$out" \
    fade t 0.002 0 0.015 gain "$gain" pad 0 "$pad"
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
  make_clip "$key" "$rest"
done <"$list"
