#!/usr/bin/env bash
# check_callsigns.sh TESSALY [SEED...]
#
# Opt-in clarity check of whole practices, the way a listener meets the
# clips: Tessaly renders clean practices of every word set, in continuous and
# in grouped reading, one per seed (1 2 3 when none is given), and Debian's
# pocketsphinx copies them against a closed grammar of the set's words. The
# copy is aligned with the answer key (fewest edits) and the script counts the
# callsigns copied whole and the characters copied, per set and reading, and
# which characters were heard as which.
#
# A clip can pass alone and still be misheard between its neighbours (an onset
# swallowed by the pause before it, a word that runs into the next), which the
# clip-by-clip check_clarity.sh cannot see. Machine listening ranks voices; it
# is not a person's ear.
#
# Environment: CALLSIGNS (callsigns a practice, 20), SETS (exam standard places
# other mixed), MODES (continuous grouped), VOICES (a voice pack directory to
# render with), SPEAKER (a built-in speaker to render with, below), DIGITS
# (figures: the figure code words for the examination digits), JOBS (parallel
# runs, the number of processors), GRAMMAR (set or all, below), LISTENER and
# SEGMENT (below).
#
# SPEAKER=NAME renders in that built-in speaker's voice: its clips, from CLIPS
# (the build's resources/voices, found from TESSALY's place in the build by
# default), are given to the render as a voice pack (which trims and levels
# them again, by the same rule). DIGITS=figures puts the figure code words
# (clips 20..29) in the place of the examination digits the same way.
#
# GRAMMAR=set (the default): each set is copied against its own words, the
# whole practice as one utterance. GRAMMAR=all: a listener who knows the words
# of every set: one grammar of the letters of all four sets, both digit sets'
# words, PORTABLE, MOBILE and QRP, whatever set is read (the examination
# syllables stand beside the American forms in the dictionary either way), and
# each practice is cut at its pauses between callsigns, so that one callsign is
# one utterance. It hears what the set's own grammar hides: a word that sounds
# like another set's word (AIT as "Canada") or like two words (TREE as "three
# eight", KEY-LOH as "three kilo", Gallipoli as "kilo Italy").
#
# LISTENER=.../asr_callsigns.py has that listener copy each practice instead,
# with every set's words (the figure code words too) in its grammar: SEGMENT=vad
# (the default) cuts the practice at its silences and recognises every word
# alone, so a short word gets no help from its neighbours; SEGMENT=decoder
# decodes the whole file in one pass. The table then gives no confusions, only
# the callsigns missed (read>heard).
#
# Needs, only for this check: apt-get install pocketsphinx pocketsphinx-en-us
# (and python3-pocketsphinx for LISTENER)
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 TESSALY [SEED...]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/clarity_words.sh"
clarity_need_pocketsphinx
tessaly=$(realpath "$1")
shift
seeds=("$@")
((${#seeds[@]})) || seeds=(1 2 3)
read -r -a sets <<<"${SETS:-exam standard places other mixed}"
read -r -a modes <<<"${MODES:-continuous grouped}"
grammar=${GRAMMAR:-set}
if [[ $grammar != set && $grammar != all ]]; then
  echo "check_callsigns: GRAMMAR is set or all, not '$grammar'" >&2
  exit 2
fi
groups=${CALLSIGNS:-20}
jobs=${JOBS:-$(nproc)}
segment=${SEGMENT:-vad}

work=$(mktemp -d)
[[ -n ${KEEP:-} ]] || trap 'rm -rf "$work"' EXIT; [[ -n ${KEEP:-} ]] && echo "work in $work" >&2

# A speaker or the figure code words: a voice pack of those clips.
if [[ -n ${SPEAKER:-} || ${DIGITS:-} == figures ]]; then
  clips=${CLIPS:-$(dirname "$tessaly")/../../resources/voices}
  from=$clips${SPEAKER:+/$SPEAKER}
  if [[ ! -f $from/301.wav ]]; then
    echo "check_callsigns: no clips in $from (set CLIPS to the build's resources/voices)" >&2
    exit 2
  fi
  mkdir "$work/pack"
  for f in "$from"/*.wav; do
    name=$(basename "$f")
    [[ $name == 2[0-9].wav || $name == NULL.wav ]] || cp "$f" "$work/pack/"
  done
  if [[ ${DIGITS:-} == figures ]]; then
    for d in {0..9}; do cp "$from/2$d.wav" "$work/pack/1$d.wav"; done
  fi
  VOICES=$work/pack
fi

# The listener's grammar: its own words and the figure code words, whose
# pronunciations join a copy of the model's dictionary.
if [[ -n ${LISTENER:-} ]]; then
  LISTENER=$(realpath "$LISTENER")
  mkdir "$work/model"
  ln -s "$clarity_model/en-us" "$work/model/en-us"
  {
    cat "$clarity_model/cmudict-en-us.dict"
    clarity_dictionary "${clarity_figures[@]}"
  } >"$work/model/cmudict-en-us.dict"
  {
    cat "$(dirname "$LISTENER")/vocab.tsv"
    for d in {0..9}; do printf 'figure %d %s\n' "$d" "${clarity_figures[d]}"; done
  } >"$work/listener.tsv"
fi

# Per set, a file "word<TAB>character" of every word a listener of that set
# may hear. Digits are the examination digits in the examination set and the
# plain ones elsewhere, and the mixed set reads each letter from one of the
# three English sets. "M" after a stroke is the word MOBILE, so it is written
# "m" here and in the key, apart from MIKE. "all" is every set's words, and
# QRP ("q" in a key) said as its letters.
words_of() {
  local i
  local -a letter_sets
  case $1 in
    standard | exam) letter_sets=(clarity_letters) ;;
    places) letter_sets=(clarity_places) ;;
    other) letter_sets=(clarity_other) ;;
    mixed | all) letter_sets=(clarity_letters clarity_places clarity_other) ;;
  esac
  [[ $1 == all ]] && printf 'q r p\tq\n'
  local -n list
  for list in "${letter_sets[@]}"; do
    for i in {0..25}; do
      printf '%s\t%s\n' "${list[i]}" "$(printf "\\x$(printf %x $((65 + i)))")"
    done
  done
  for i in {0..9}; do printf '%s\t%s\n' "${clarity_digits[i]}" "$i"; done
  [[ $1 == all ]] && for i in {0..9}; do printf '%s\t%s\n' "${clarity_figures[i]}" "$i"; done
  printf 'portable\t/\nmobile\tm\n'
}

# The grammars: one a set, or the one of all sets.
lexicons=("${sets[@]}")
[[ $grammar == all ]] && lexicons=(all)
for set in "${lexicons[@]}"; do
  words_of "$set" | sort -u >"$work/$set.words"
  # shellcheck disable=SC2046
  clarity_dictionary $(cut -f1 "$work/$set.words" | tr ' ' '\n' | sort -u) >"$work/$set.dict"
  {
    echo "#JSGF V1.0;"
    echo "grammar callsigns;"
    printf "public <copy> = <word>+;\n"
    printf "<word> = %s;\n" "$(cut -f1 "$work/$set.words" | sort -u | paste -sd'|' | sed 's/|/ | /g')"
  } >"$work/$set.jsgf"
done

# run SET MODE SEED: one practice rendered and copied; prints
# "SET MODE SEED callsigns-right callsigns chars-right chars [read>heard ...]".
run() {
  local set=$1 mode=$2 seed=$3
  local base=$work/$set.$mode.$seed
  local lexicon=$set
  [[ $grammar == all ]] && lexicon=all
  local pack=()
  [[ -n ${VOICES:-} ]] && pack=(--voices "$VOICES")
  "$tessaly" render --groups "$groups" --words "$set" --mode "$mode" --seed "$seed" \
    "${pack[@]}" --out "$base.wav" --key "$base.key" >/dev/null
  if [[ -n $LISTENER ]]; then
    listen "$set $mode $seed" "$base"
    return
  fi
  sox -V1 -D "$base.wav" -r 16000 -c 1 -b 16 "$base.16k.wav"
  if [[ $grammar == set ]]; then
    # The whole practice is one utterance: the recogniser's own cutting at
    # pauses would split a word at the pause between its syllables, which a
    # listener who knows the words does not.
    echo "$set.$mode.$seed.16k" >"$base.ctl"
  else
    # Cut at every pause of 1.5 s or more: between callsigns (2.5 s and more
    # in continuous reading, the answer pause in grouped reading), never
    # between the characters of one (1.1 s at most at the default speed) or
    # a word's syllables. Each callsign gets 0.3 s of silence either side.
    sox -V1 -D "$base.16k.wav" "$base.part.wav" silence 1 0.01 -60d 1 1.5 -60d : newfile : restart
    local part
    : >"$base.ctl"
    for part in "$base".part*.wav; do
      if (($(soxi -s "$part") > 0)); then
        sox -V1 -D "$part" "${part%.part*}.cut${part##*.part}" pad 0.3 0.3
        basename "${part%.part*}.cut${part##*.part}" .wav >>"$base.ctl"
      fi
      rm -f "$part"
    done
  fi
  pocketsphinx_batch -hmm "$clarity_model/en-us" -dict "$work/$lexicon.dict" -jsgf "$work/$lexicon.jsgf" \
    -ctl "$base.ctl" -cepdir "$work" -cepext .wav -adcin yes -adchdr 44 \
    -hyp "$base.hyp.raw" -logfn "$base.log" >/dev/null 2>&1
  sed -E 's/ *\([^()]*\)$//' "$base.hyp.raw" >"$base.hyp"
  # The copy as characters, one a line, then the alignment.
  awk -F'\t' 'NR == FNR { char[$1] = $2; next }
    { n = split($0, w, " ")
      for (i = 1; i <= n; i++) {
        if ((w[i] " " w[i + 1] " " w[i + 2]) in char) { print char[w[i] " " w[i + 1] " " w[i + 2]]; i += 2 }
        else if ((w[i] " " w[i + 1]) in char) { print char[w[i] " " w[i + 1]]; i++ }
        else if (w[i] in char) print char[w[i]]
      } }' "$work/$lexicon.words" "$base.hyp" >"$base.heard"
  awk -v label="$set $mode $seed" '
    NR == FNR {
      # key line: row and callsign; "M" after the stroke is MOBILE
      cs++; s = $2; slash = index(s, "/")
      for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        if (slash && i > slash && c == "M") c = "m"
        n++; want[n] = c; owner[n] = cs
      }
      next
    }
    { m++; got[m] = $1 }
    END {
      for (i = 0; i <= n; i++) d[i, 0] = i
      for (j = 0; j <= m; j++) d[0, j] = j
      for (i = 1; i <= n; i++)
        for (j = 1; j <= m; j++) {
          best = d[i - 1, j - 1] + (want[i] != got[j])
          if (d[i - 1, j] + 1 < best) best = d[i - 1, j] + 1
          if (d[i, j - 1] + 1 < best) best = d[i, j - 1] + 1
          d[i, j] = best
        }
      i = n; j = m; right = 0
      while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && d[i, j] == d[i - 1, j - 1] + (want[i] != got[j])) {
          if (want[i] == got[j]) right++
          else { bad[owner[i]] = 1; conf[want[i] ">" got[j]]++ }
          i--; j--
        } else if (i > 0 && d[i, j] == d[i - 1, j] + 1) {
          bad[owner[i]] = 1; conf[want[i] ">-"]++; i--
        } else {
          # a character heard that was not read: the next callsign pays
          bad[i < n ? owner[i + 1] : owner[n]] = 1; conf[(i > 0 ? want[i] : "^") "+" got[j]]++; j--
        }
      }
      whole = 0
      for (k = 1; k <= cs; k++) if (!(k in bad)) whole++
      line = label " " whole " " cs " " right " " n
      for (c in conf) line = line " " c "*" conf[c]
      print line
    }' "$base.key" "$base.heard"
}

# listen LABEL BASE: the practice BASE.wav copied by LISTENER; prints what run
# prints, with the callsigns missed as read>heard.
listen() {
  awk 'NF && !/^#/ { print $NF }' "$2.key" | sed -E 's#/QRP$#/q#; s#/(M+)$#/\L\1#' >"$2.expect"
  ASR_MODEL_DIR=$work/model /usr/bin/python3 "$LISTENER" "$2.wav" --expect "$2.expect" --gap 1.5 \
    --segment "$segment" --vocab "$work/listener.tsv" --json >"$2.json" || true
  /usr/bin/python3 -c '
import json, sys
r = json.load(open(sys.argv[2]))
missed = ["%s>%s*1" % (x["expected"] or "-", (x["heard"] or "-").replace(" ", "_"))
          for x in r["rows"] if x["result"] != "OK"]
print(sys.argv[1], r["copied"], r["total"], r["chars_correct"], r["chars_total"], *missed)
' "$1" "$2.json"
}
export -f run listen
export work tessaly groups clarity_model grammar segment
export VOICES=${VOICES:-} LISTENER=${LISTENER:-}

for set in "${sets[@]}"; do
  for mode in "${modes[@]}"; do
    for seed in "${seeds[@]}"; do echo "$set $mode $seed"; done
  done
done | xargs -P "$jobs" -L 1 bash -c 'set -euo pipefail; run "$@"' _ >"$work/results"

printf "%-9s %-11s %-15s %-16s %s\n" set reading callsigns characters "heard as: read>heard, after+inserted, *times"
worst=100
for set in "${sets[@]}"; do
  for mode in "${modes[@]}"; do
    awk -v set="$set" -v mode="$mode" '
      $1 == set && $2 == mode {
        w += $4; c += $5; r += $6; n += $7
        for (i = 8; i <= NF; i++) { split($i, p, "*"); conf[p[1]] += p[2] }
      }
      END {
        list = ""
        for (k in conf) list = list " " k "*" conf[k]
        printf "%-9s %-11s %3d of %3d %3d%%  %4d of %4d %3d%%%s\n", set, mode, w, c, 100 * w / c, r, n, 100 * r / n, list
      }' "$work/results"
  done
done | tee "$work/table"
awk '{ if ($6 + 0 < 98) low = 1 } END { exit low }' FS='[ %]+' "$work/table" || {
  echo "check_callsigns: under 98 % of callsigns copied in at least one set" >&2
  exit 1
}
