#!/usr/bin/env bash
# sound-return.sh TESSALY
#
# How long the program takes to sound again when the sound server comes back, and
# when it starts only after the program. A private PulseAudio server on a null sink
# stands in for a sound card; `tessaly script --live` runs a practice with S3 band
# noise (which sounds all the time), and the restarted server's sink is recorded.
# Prints, for each case, the seconds from the server answering to sound in the
# recording (DOWN and LATE set the seconds without a server). Needs pulseaudio, pulseaudio-utils, libasound2-plugins and sox.
set -u
. "$(dirname "$0")/private-pulse.sh"
tessaly=$(realpath "${1:?usage: sound-return.sh TESSALY}")
work=$(mktemp -d /tmp/tessaly-return.XXXXXX)
server=""; recorder=""; app=""
stop() { [ -n "$1" ] && { kill -"$2" "$1" 2>/dev/null; for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done; kill -KILL "$1" 2>/dev/null; wait "$1" 2>/dev/null; }; return 0; }
cleanup() { stop "$app" TERM; stop "$recorder" INT; stop "$server" TERM; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/home" "$work/app-home" "$work/run" "$work/state"
echo "autospawn = no" >"$work/client.conf"
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$work/app-home/.asoundrc"
export PULSE_CLIENTCONFIG="$work/client.conf" PULSE_COOKIE="$work/home/cookie" JACK_NO_START_SERVER=1
export PULSE_SERVER="unix:$work/socket" PULSE_SINK=out
# A learner's own record and settings stay out of it.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

now() { date +%s.%N; }
start_server() {
  start_private_pulse
  up=$(now)
  parecord --device=out.monitor --file-format=wav --format=s16le --rate=48000 --channels=2 \
    --latency-msec=10 "$work/$1.wav" </dev/null >/dev/null 2>&1 &
  recorder=$!
  recording=$(now)
  # A new null sink runs ahead of real time until a stream sets its latency:
  # suspending and resuming it restarts its clock with the recorder's 10 ms.
  for _ in $(seq 100); do [ -n "$(timeout 2 pactl list short source-outputs 2>/dev/null)" ] && break; sleep 0.02; done
  timeout 5 pactl suspend-sink out 1; timeout 5 pactl suspend-sink out 0
}
# first_sound NAME: seconds from the recorder's start to the first sound in its recording
first_sound() {
  local total rest
  total=$(soxi -D "$work/$1.wav")
  rest=$(sox "$work/$1.wav" -n silence 1 0.02 -45d stat 2>&1 | awk '/Length/ {print $3}')
  awk -v t="$total" -v r="${rest:-0}" 'BEGIN { printf "%.2f", t - r }'
}
report() {  # report RECORDING LABEL
  stop "$recorder" INT; recorder=""
  awk -v a="$up" -v b="$recording" -v f="$(first_sound "$1")" -v label="$2" \
    'BEGIN { printf "%s: sound back %.2f s after the server answered\n", label, (b - a) + f }'
}
practice="$work/practice.txt"
printf 'click Option4\nsettext Text2 "30"\nclick Command4\nwait 60000\n' >"$practice"

# 1. The server goes away mid-practice and comes back under the same name.
start_server before
HOME="$work/app-home" "$tessaly" script "$practice" --live >"$work/app.out" 2>"$work/app.err" &
app=$!
sleep 4
stop "$recorder" INT; recorder=""
stop "$server" KILL; server=""
sleep "${DOWN:-2}"  # seconds without a server
start_server return
sleep 4
report return "lost and back"
stop "$app" TERM; app=""; stop "$server" TERM; server=""

# 2. The program starts before there is any server.
HOME="$work/app-home" "$tessaly" script "$practice" --live >"$work/app.out" 2>"$work/app.err" &
app=$!
sleep "${LATE:-3}"  # seconds before the server starts
start_server late
sleep 4
report late "server after the program"
grep -o '"event":"device","state":"[a-z]*"' "$work/app.out" | tr '\n' ' '; echo
