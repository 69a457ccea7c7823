#!/usr/bin/env bash
# pack_table.sh [VOICES_DIR]
#
# Prints, as a Markdown table, what to say into each file of a voice pack: one
# row per clip, the file's name, the character it speaks and the words, taken
# from the word lists the built-in voices are made from (the spellings there are
# written for a speech synthesiser, so say them as the word they stand for).
set -euo pipefail
dir=${1:-$(dirname "$0")}
letters=(A B C D E F G H I J K L M N O P Q R S T U V W X Y Z)

# rows LIST: "name<TAB>text" for every word line of the list
rows() {
  while IFS= read -r line || [[ -n $line ]]; do
    line=${line%$'\r'}
    [[ -z ${line//[[:space:]]/} || $line == \#* || $line == voice[[:space:]]* ]] && continue
    read -r name rest <<<"$line"
    rest=$(sed -E 's/^((fade|onset|pace)=[^ ]+ +)+//' <<<"$rest")  # how a synthesised word is cut and paced is the build's business
    printf '%s\t%s\n' "$name" "$rest"
  done <"$dir/$1"
}

section() {  # section TITLE LIST
  echo
  echo "**$1**"
  echo
  echo "| file | character | say |"
  echo "|---|---|---|"
  rows "$2" | while IFS=$'\t' read -r name text; do
    case $name in
      [0-3][0-9][0-9]) char=${letters[$((10#${name:1} - 1))]} ;;
      [0-1][0-9]) char=${name:1} ;;
      PORTABLE) char=/ ;;
      MOBILE) char="/M (mobile)" ;;
      *) char="/QRP" ;;
    esac
    echo "| \`$name.wav\` | $char | $text |"
  done
}

section "Letters, examination pronunciation (三级考试标准发音)" letters_exam.txt
section "Digits, examination pronunciation" digits_exam.txt
section "Letters, standard (标准)" letters_standard.txt
section "Letters, place names (地名)" letters_places.txt
section "Letters, other words (其他)" letters_other.txt
section "Digits, plain" digits_plain.txt
section "Suffix words" designators.txt
