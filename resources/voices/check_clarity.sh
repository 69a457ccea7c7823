#!/usr/bin/env bash
# check_clarity.sh CLIPDIR [NOISE.wav ATTENUATION_DB]
#
# Opt-in clarity check of the spoken clips by machine listening: Debian's
# pocketsphinx with its US English model hears every clip against a closed
# vocabulary (all words of all sets, the digits in both pronunciations, the
# designator words) and the script counts the clips heard as the word they
# should say. A clip said clearly enough for a person can still be missed by
# the machine, so read the figure as a ranking of voices and a guard against a
# broken clip, not as what a learner hears.
#
# CLIPDIR holds the generated clips (<build>/resources/voices, or a speaker's
# folder in it, <build>/resources/voices/awb). With a noise
# recording the clips are heard over it, the noise slowed to a quarter of its
# rate as the program plays the band noise, ATTENUATION_DB under full scale
# (the noise levels S1..S5 are 30, 20, 15, 10 and 5 dB).
#
# Needs, only for this check: apt-get install pocketsphinx pocketsphinx-en-us
set -euo pipefail

if (($# != 1 && $# != 3)); then
  echo "usage: $0 CLIPDIR [NOISE.wav ATTENUATION_DB]" >&2
  exit 2
fi
clips=$1
noise=${2:-}
atten=${3:-}
source "$(dirname "$0")/clarity_words.sh"
clarity_need_pocketsphinx
letters=("${clarity_letters[@]}")
places=("${clarity_places[@]}")
other=("${clarity_other[@]}")
digits=("${clarity_digits[@]}")
figures=("${clarity_figures[@]}")

declare -A expect
for i in {0..25}; do
  n=$(printf "%02d" $((i + 1)))
  expect[0$n]=${letters[i]}
  expect[1$n]=${places[i]}
  expect[2$n]=${other[i]}
  expect[3$n]=${letters[i]}
done
for i in {0..9}; do
  expect[0$i]=${digits[i]}
  expect[1$i]=${digits[i]}
  expect[2$i]=${figures[i]}
done
expect[PORTABLE]=portable
expect[MOBILE]=mobile
expect[QRP]="q r p"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A vocab
for w in "${expect[@]}"; do
  for t in $w; do vocab[$t]=1; done
done
clarity_dictionary "${!vocab[@]}" >"$work/words.dict"
{
  echo "#JSGF V1.0;"
  echo "grammar words;"
  printf "public <word> = %s;\n" "$(printf "%s\n" "${expect[@]}" | sort -u | paste -sd'|' | sed 's/|/ | /g')"
} >"$work/words.jsgf"

if [[ -n $noise ]]; then
  # A quarter of the rate: two octaves down and four times as long.
  sox -V1 -D "$noise" -r 16000 -c 1 "$work/noise.wav" speed 0.25
  noise_len=$(soxi -s "$work/noise.wav")
  gain=$(awk -v a="$atten" 'BEGIN { printf "%.5f", 10 ^ (-a / 20) }')
fi

names=()
offset=0
for name in "${!expect[@]}"; do
  f=$clips/$name.wav
  if [[ ! -f $f ]]; then
    echo "check_clarity: $f is missing" >&2
    exit 1
  fi
  names+=("$name")
  # The recogniser wants 16 kHz and a little silence either side.
  sox -V1 -D "$f" -r 16000 "$work/$name.clean.wav" pad 0.3 0.3
  if [[ -n $noise ]]; then
    len=$(soxi -s "$work/$name.clean.wav")
    offset=$(((offset + 7919 * 13) % (noise_len - len)))
    sox -V1 -D "$work/noise.wav" "$work/$name.noise.wav" trim "${offset}s" "${len}s"
    sox -V1 -D -m -v 1 "$work/$name.clean.wav" -v "$gain" "$work/$name.noise.wav" "$work/$name.wav"
  else
    mv "$work/$name.clean.wav" "$work/$name.wav"
  fi
done
printf "%s\n" "${names[@]}" >"$work/ctl"

pocketsphinx_batch -hmm "$clarity_model/en-us" -dict "$work/words.dict" -jsgf "$work/words.jsgf" \
  -ctl "$work/ctl" -cepdir "$work" -cepext .wav -adcin yes -adchdr 44 \
  -hyp "$work/hyp" -logfn "$work/log" >/dev/null 2>&1 || {
  echo "check_clarity: pocketsphinx failed, see its log:" >&2
  tail -20 "$work/log" >&2
  exit 1
}

declare -A heard
while IFS= read -r line; do
  # "<words> (<utterance id> <score>)"
  id=$(sed -E 's/.*\(([^ ]+) [-0-9]+\)$/\1/' <<<"$line")
  words=$(sed -E 's/ *\([^()]*\)$//; s/<[^>]*>//g; s/\[[^]]*\]//g; s/  +/ /g; s/^ //; s/ $//' <<<"$line")
  heard[$id]=$words
done <"$work/hyp"

declare -A total right
wrong=()
for name in "${names[@]}"; do
  case $name in
    0??) set="letters standard" ;;
    1??) set="letters places" ;;
    2??) set="letters other" ;;
    3??) set="letters exam" ;;
    0?) set="digits plain" ;;
    1?) set="digits exam" ;;
    2?) set="digits figures" ;;
    *) set="designators" ;;
  esac
  total[$set]=$((${total[$set]:-0} + 1))
  if [[ ${heard[$name]:-} == "${expect[$name]}" ]]; then
    right[$set]=$((${right[$set]:-0} + 1))
  else
    wrong+=("$name: '${expect[$name]}' heard as '${heard[$name]:-}'")
  fi
done
all=0
all_right=0
for set in "letters standard" "letters places" "letters other" "letters exam" \
  "digits plain" "digits exam" "digits figures" "designators"; do
  printf "%-18s %3d of %3d\n" "$set" "${right[$set]:-0}" "${total[$set]}"
  all=$((all + total[$set]))
  all_right=$((all_right + ${right[$set]:-0}))
done
printf "%-18s %3d of %3d (%d %%)\n" "all clips" "$all_right" "$all" $((100 * all_right / all))
if ((${#wrong[@]})); then
  printf "  %s\n" "${wrong[@]}"
fi
