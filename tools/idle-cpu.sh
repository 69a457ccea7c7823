#!/usr/bin/env bash
# idle-cpu.sh TESSALY [SECONDS]
#
# What the window costs at rest: starts it with no practice (Qt's offscreen platform;
# XVFB=1 puts it on a private Xvfb screen instead), lets it settle for SETTLE seconds
# (6), then adds up the CPU time of all its threads from /proc/PID/task/*/schedstat
# over SECONDS (30) and prints it as a share of one core. Twice: with no sound server
# at all, and with a private PulseAudio server on a null sink standing in for a card.
# Needs pulseaudio (and xvfb for XVFB=1).
set -u
. "$(dirname "$0")/private-pulse.sh"
tessaly=$(realpath "${1:?usage: idle-cpu.sh TESSALY [SECONDS]}")
seconds=${2:-30}
settle=${SETTLE:-6}
work=$(mktemp -d /tmp/tessaly-idle.XXXXXX)
server=""; app=""
stop() { [ -n "$1" ] && { kill -TERM "$1" 2>/dev/null; for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done; kill -KILL "$1" 2>/dev/null; wait "$1" 2>/dev/null; }; return 0; }
cleanup() { stop "$app"; stop "$server"; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/home" "$work/run" "$work/state"
echo "autospawn = no" >"$work/client.conf"
export PULSE_CLIENTCONFIG="$work/client.conf" PULSE_COOKIE="$work/home/cookie" JACK_NO_START_SERVER=1
export PULSE_SERVER="unix:$work/socket"
# A learner's own record and settings stay out of it.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state-home"

# CPU time of every thread of process $1, in ns.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%d", t }'; }

measure() {  # measure LABEL
  # Without a server ALSA finds no card here; with one, its default goes to the server.
  if [ -n "$server" ]; then printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n'; fi >"$work/home/.asoundrc"
  if [ "${XVFB:-0}" = 1 ]; then
    HOME="$work/home" xvfb-run -a -s "-screen 0 1280x900x24" "$tessaly" >"$work/app.log" 2>&1 &
  else
    HOME="$work/home" QT_QPA_PLATFORM=offscreen "$tessaly" >"$work/app.log" 2>&1 &
  fi
  app=$!
  sleep "$settle"
  local pid=$app
  [ "${XVFB:-0}" = 1 ] && pid=$(pgrep -n -f "^$tessaly\$")
  local a b
  a=$(cpu_ns "$pid"); sleep "$seconds"; b=$(cpu_ns "$pid")
  awk -v a="$a" -v b="$b" -v s="$seconds" -v l="$1" 'BEGIN { printf "%s: %.2f %% of a core over %d s\n", l, (b - a) / (s * 1e7), s }'
  stop "$app"; app=""
}

measure "idle window, no sound server"
start_private_pulse
measure "idle window, PulseAudio on a null sink"
