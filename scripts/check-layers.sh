#!/usr/bin/env bash
# check-layers.sh [SRC_DIR]
#
# The folders of src/ are layers: a file may include its own folder's headers and
# those of the folders below it, never one above. This lists every include that
# breaks the order and fails if there is one (a new folder must be added here).
set -euo pipefail
src=${1:-$(dirname "$0")/../src}

# Each folder and what it may include besides itself, from the bottom up.
declare -A below=(
  [base]=""
  [sound]="base"
  [learning]="base"
  [engine]="sound base"
  [voices]="sound base"
  [practice]="sound base"
  [sources]="practice learning sound base"
  [stations]="practice sound base"
  [band]="practice sound base"
  [review]="stations band practice learning sound base"
  [pileup]="stations band sources practice learning sound base"
  [form]="review pileup stations band sources practice learning sound base"
  [headless]="form review pileup stations band sources practice learning engine voices sound base"
  [shell]="headless form review pileup stations band sources practice learning engine voices sound base"
)

status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  folder=${rel%%/*}
  if [[ -z ${below[$folder]+set} ]]; then
    echo "check-layers: $rel: folder '$folder' has no place in the layers"
    status=1
    continue
  fi
  while IFS= read -r target; do
    to=${target%%/*}
    [[ $target == */* ]] || continue  # a generated or same-folder header
    [[ $to == "$folder" ]] && continue
    if [[ " ${below[$folder]} " != *" $to "* ]]; then
      echo "check-layers: $rel includes $target: $folder may only include ${below[$folder]:-nothing else}"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
((status == 0)) && echo "check-layers: every include points down"
exit $status
