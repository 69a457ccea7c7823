#!/usr/bin/env bash
# The real program on a virtual X screen with a window manager: Start a practice,
# make sure the clock runs, close the window by its close box (Alt+F4), and
# expect the program to end by itself, with status 0, leaving no process behind.
# Needs xvfb-run, openbox, xdotool, x11-utils (xprop, xwininfo) and imagemagick (import).
# usage: close_while_practising.sh PATH/TO/tessaly
set -euo pipefail
tessaly=$(realpath "$1")
unset QT_QPA_PLATFORM  # the test runner's offscreen platform has no close box

exec xvfb-run -a -s "-screen 0 1280x800x24" bash -uo pipefail -c '
  tessaly=$1
  fail() { echo "close_while_practising: $*" >&2; exit 1; }
  source "$2"
  start_window_manager || fail "no window manager"
  trap "kill $wm 2>/dev/null" EXIT
  "$tessaly" >/dev/null 2>&1 & app=$!
  id=
  for _ in $(seq 100); do
    id=$(xdotool search --name "^Tessaly V2.0  BY Orvane\$" 2>/dev/null | head -1) && [[ -n $id ]] && break
    sleep 0.1
  done
  [[ -n $id ]] || fail "no window"
  # Framed by the manager, then a moment to settle at its size.
  for _ in $(seq 50); do xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q "=" && break; sleep 0.1; done
  sleep 0.5
  # The client area is 526 px high under the menu bar; Start sits at 464, 440 px of it.
  height=$(xwininfo -id "$id" | awk "/Height:/ {print \$2}")
  menu=$((height - 526))
  xdotool mousemove --window "$id" 490 $((menu + 451)) click 1
  # The elapsed-time clock (472, 20 px; 121 x 25) must change: a practice runs.
  clock() { import -window "$id" -crop 121x25+472+$((menu + 20)) +repage rgb:- | md5sum; }
  before=$(clock); after=$before
  for _ in $(seq 30); do sleep 0.1; after=$(clock); [[ $before != "$after" ]] && break; done
  [[ $before != "$after" ]] || fail "the clock does not run: no practice started"
  xdotool windowactivate --sync "$id" key alt+F4
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then kill -9 "$app"; fail "still running 5 s after the close box"; fi
  wait "$app"; status=$?
  [[ $status -eq 0 ]] || fail "ended with status $status"
  left=$(pgrep -f "^$tessaly" || true)
  [[ -z $left ]] || fail "left behind: $left"
  echo "close_while_practising: ended with status 0, nothing left behind"
' _ "$tessaly" "$(dirname "$(realpath "$0")")/window_manager.sh"
