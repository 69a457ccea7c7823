#!/usr/bin/env bash
# The real program magnified twice (QT_SCALE_FACTOR=2) on a 1280 x 900 virtual X
# screen with a window manager: the whole window, its title bar and menu bar
# included, must stand on the screen, and the client area must hold the answer
# box (the window is shorter than its normal 1098 px then).
# Needs xvfb-run, openbox, xdotool and x11-utils (xwininfo, xprop).
# usage: fits_small_screen.sh PATH/TO/tessaly
set -euo pipefail
tessaly=$(realpath "$1")
unset QT_QPA_PLATFORM  # the test runner's offscreen platform has no window manager

exec xvfb-run -a -s "-screen 0 1280x900x24" bash -uo pipefail -c '
  tessaly=$1
  fail() { echo "fits_small_screen: $*" >&2; exit 1; }
  source "$2"
  start_window_manager || fail "no window manager"
  QT_SCALE_FACTOR=2 "$tessaly" >/dev/null 2>&1 & app=$!
  trap "kill $app $wm 2>/dev/null" EXIT
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --name "^Tessaly V2.0  BY Orvane\$" 2>/dev/null | head -1) && [[ -n $id ]] && break
    sleep 0.1
  done
  [[ -n $id ]] || fail "no window"
  sleep 2  # mapped, framed, and fitted again with the real frame
  read -r cx cy cw ch < <(xwininfo -id "$id" | awk "
    /Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4} /Width:/ {w=\$2} /Height:/ {h=\$2}
    END {print x, y, w, h}")
  # The frame around it, title bar included, as the window manager says: left, right, top, bottom.
  IFS=", " read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed "s/.*= //")
  [[ -n ${bottom:-} ]] || fail "the window manager gives no frame extents"
  fx=$((cx - left)) fy=$((cy - top)) fw=$((cw + left + right)) fh=$((ch + top + bottom))
  echo "fits_small_screen: frame ${fw}x${fh}+${fx}+${fy}, client ${cw}x${ch}+${cx}+${cy} on 1280x900"
  (( fx >= 0 && fy >= 0 && fx + fw <= 1280 && fy + fh <= 900 )) || fail "the window reaches off the screen"
  (( top > 0 )) || fail "no title bar above the client"
  (( ch < 1098 )) || fail "not shrunk to the screen"
  # The client is the menu bar (about 46 px) and the client area, which lays the
  # answer box out at its bottom: it must still be at least that tall.
  (( ch >= 2 * 23 + 2 * 200 )) || fail "too small to hold the answer box"
  echo "fits_small_screen: on the screen"
' _ "$tessaly" "$(dirname "$(realpath "$0")")/window_manager.sh"
