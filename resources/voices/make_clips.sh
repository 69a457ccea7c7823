#!/usr/bin/env bash
# make_clips.sh MAKE_CLIP LIST OUTDIR
# make_clips.sh MAKE_CLIP --speaker SPEAKER OUTDIR LIST...
#
# Speaks every word of word lists with a Debian text-to-speech program and
# writes each as OUTDIR/<name>.wav: PCM mono 16-bit 22050 Hz, trimmed to the
# word and brought to one common loudness by MAKE_CLIP (tessaly_make_clip, the
# rule a voice pack's recordings go through too), 0.27 s to 0.83 s long.
#
# The first form speaks one list in the voices it names. The second speaks the
# words of every LIST in one speaker's voice: the SPEAKER file names the voice,
# and its word lines replace the lists' lines of the same clip (a respelling, a
# pace or a fade that this speaker needs); the lists' own voice lines are left
# aside, their options kept.
#
# The lists are plain text. Blank lines and lines starting with '#' are
# skipped. A line "voice flite <voice> [<flite options>...]",
# "voice espeak-ng <voice> [<espeak-ng options>...]" or
# "voice festival <voice>" (festival's voice_<voice>) names the speaker; every
# other line is "<clip name> [fade=<ms>] [onset=<ms>] [pace=<factor>] <text>".
# Text for espeak-ng may be given as phonemes between [[ and ]]. fade= sets a
# longer fade-out for a word the speaker ends abruptly: a vowel cut off at full
# level is heard as a stop consonant after it (Norway heard as "Norway eight").
# onset= lets the word swell in over that time instead: a vowel that starts
# at full strength is heard with a stop consonant before it. pace= stretches
# the word's duration as the speaker says it (0.8: a fifth quicker), before
# any trimming.
#
# Only bash, the speakers, sox and MAKE_CLIP are used, so that a fresh machine
# builds the voices with nothing but the packages of scripts/setup.sh. The
# output is the same bytes on every run: the speakers are deterministic and
# sox runs without dither (-D) and in repeatable mode (-R).
set -euo pipefail

usage() {
  echo "usage: $0 MAKE_CLIP LIST OUTDIR | MAKE_CLIP --speaker SPEAKER OUTDIR LIST..." >&2
  exit 2
}
(($# >= 3)) || usage
make_clip=$1
speaker=""
if [[ $2 == --speaker ]]; then
  (($# >= 5)) || usage
  speaker=$3
  outdir=$4
  lists=("${@:5}")
else
  (($# == 3)) || usage
  outdir=$3
  lists=("$2")
fi

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

# The clips to make, in order: name, voice ("engine voice options..."), fade
# (ms or empty), pace (factor or empty), text, and the list it came from.
names=() voices=() fades=() onsets=() paces=() texts=() origins=()
declare -A index_of

# read_list FILE USE_VOICE_LINES: appends (or, for a clip already there,
# replaces) the list's clips.
read_list() {
  local file=$1 use_voice=$2 voice="" line key rest option
  while IFS= read -r line || [[ -n $line ]]; do
    line=${line%$'\r'}
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    read -r key rest <<<"$line"
    if [[ $key == voice ]]; then
      [[ $use_voice == yes ]] && voice=$rest
      continue
    fi
    local fade="" onset="" pace=""
    while [[ $rest == fade=* || $rest == onset=* || $rest == pace=* ]]; do
      read -r option rest <<<"$rest"
      case $option in
        fade=*) fade=${option#fade=} ;;
        onset=*) onset=${option#onset=} ;;
        pace=*) pace=${option#pace=} ;;
      esac
    done
    local i=${index_of[$key]:-${#names[@]}}
    index_of[$key]=$i
    names[i]=$key voices[i]=$voice fades[i]=$fade onsets[i]=$onset paces[i]=$pace texts[i]=$rest origins[i]=$file
  done <"$file"
}

if [[ -n $speaker ]]; then
  speaker_voice=$(sed -nE 's/^voice[[:space:]]+//p' "$speaker" | head -1)
  [[ -n $speaker_voice ]] || { echo "$speaker: no 'voice' line" >&2; exit 1; }
  for list in "${lists[@]}"; do read_list "$list" no; done
  for i in "${!names[@]}"; do voices[i]=$speaker_voice; done
  before=${#names[@]}
  read_list "$speaker" yes
  if ((${#names[@]} != before)); then
    echo "$speaker: clip ${names[before]} is in none of the word lists" >&2
    exit 1
  fi
else
  read_list "${lists[0]}" yes
fi

# The speaker's raw output of clip I, as WAV, in $work/raw<I>.wav. flite and
# espeak-ng speak a word a run; festival speaks all of its words in one run,
# which loads its voice once.
festival_script=$work/festival.scm
festival_voice=""
: >"$festival_script"
synth() {
  local i=$1 raw=$work/raw$1.wav
  local -a v
  read -r -a v <<<"${voices[i]}"
  ((${#v[@]} >= 2)) || { echo "${origins[i]}: no 'voice' line before clip ${names[i]}" >&2; exit 1; }
  local pace=${paces[i]}
  case ${v[0]} in
    flite)
      local stretch=()
      [[ -n $pace ]] && stretch=(--setf "duration_stretch=$pace")
      flite -voice "${v[1]}" "${v[@]:2}" "${stretch[@]}" -t "${texts[i]}" -o "$raw" ;;
    espeak-ng)
      # espeak-ng's pace is words a minute, 175 by default.
      local speed=()
      [[ -n $pace ]] && speed=(-s "$(awk -v p="$pace" 'BEGIN { printf "%d", 175 / p + 0.5 }')")
      espeak-ng -v "${v[1]}" "${v[@]:2}" "${speed[@]}" -w "$raw" "${texts[i]}" ;;
    festival)
      local text=${texts[i]//\\/\\\\}
      text=${text//\"/\\\"}
      if [[ ${v[1]} != "$festival_voice" ]]; then
        festival_voice=${v[1]}
        printf '(voice_%s)\n(set! voice_hts_params hts_engine_params)\n' "$festival_voice" >>"$festival_script"
      fi
      # Diphone voices take a duration stretch; HTS voices a speed instead.
      printf '(Parameter.set (quote Duration_Stretch) %s)\n' "${pace:-1.0}" >>"$festival_script"
      printf '(if voice_hts_params (set! hts_engine_params (append voice_hts_params (list (list "-r" %s)))))\n' \
        "$(awk -v p="${pace:-1}" 'BEGIN { printf "%.4f", 1 / p }')" >>"$festival_script"
      printf '(utt.save.wave (utt.synth (Utterance Text "%s")) "%s" (quote riff))\n' "$text" "$raw" >>"$festival_script" ;;
    *) echo "${origins[i]}: unknown speaker '${v[0]}'" >&2; exit 1 ;;
  esac
}

# process I: the raw output of clip I trimmed, levelled and checked.
process() {
  local i=$1
  local name=${names[i]} fade=${fades[i]} text=${texts[i]}
  local raw=$work/raw$i.wav a=$work/a.wav b=$work/b.wav out=$outdir/$name.wav
  # The trim below ends with the word reversed, where a fade-in is a fade-out
  # of the word's end (sox's default shape, logarithmic).
  local fade_effect=()
  [[ -n $fade ]] && fade_effect=(fade "$(awk -v ms="$fade" 'BEGIN { printf "%.3f", ms / 1000 }')")
  local onset_effect=()
  [[ -n ${onsets[i]} ]] && onset_effect=(fade "$(awk -v ms="${onsets[i]}" 'BEGIN { printf "%.3f", ms / 1000 }')")
  # Mono at 22050 Hz in float, the speaker's low-level lead-in and tail cut off
  # at 50 dB under the word's peak and replaced by silence, so that the clip
  # rule's short fades fall on silence, not on the ends of the word: faded
  # there, words were heard with a "t" between them (machine listening of
  # whole practices, check_callsigns.sh).
  sox_ "$raw" -e floating-point -b 32 "$a" remix 1 rate -v 22050 norm 0 \
    silence 1 0.005 -50d reverse silence 1 0.005 -50d "${fade_effect[@]}" reverse "${onset_effect[@]}" pad 0.01 0.03
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
    echo "${origins[i]}: clip $name ('$text') is $len s long, outside $min_len..$max_len s" >&2
    rm -f "$out"
    exit 1
  fi
}

for i in "${!names[@]}"; do synth "$i"; done
[[ -s $festival_script ]] && festival -b "$festival_script"
for i in "${!names[@]}"; do process "$i"; done
