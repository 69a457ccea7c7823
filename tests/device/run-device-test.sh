#!/usr/bin/env bash
# run-device-test.sh PROBE
#
# The live output end to end on a private PulseAudio server whose only sink is a null
# sink (ALSA's pulse plugin carries PortAudio's default device there); its monitor is
# recorded. play: a 1000 Hz tone arrives at its level, unbroken. lose: the server is
# killed and restarted ROUNDS times (default 2); the program carries on silently, says
# one line a loss and a return, and the loop is heard again within 3 s of the server
# answering. late: the server appears 2 s after the program. silent: no server, the
# null output, one line. Waits are bounded; every process is stopped by its PID.
# Exit 0 passed, 1 failed, 77 skipped (no PulseAudio).
set -u
probe=${1:?usage: run-device-test.sh PROBE}
for tool in pulseaudio pactl parecord; do
  command -v "$tool" >/dev/null || { echo "device test skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d /tmp/tessaly-device.XXXXXX) || exit 1
server=""; recorder=""; child=""
stop() {  # stop PID SIGNAL: signal it, wait up to 5 s, then kill it
  local pid=$1 sig=$2 i
  [ -n "$pid" ] || return 0
  kill -"$sig" "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
  for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}
cleanup() {
  stop "$child" TERM; stop "$recorder" INT; stop "$server" TERM
  if [ "${KEEP:-0}" = 1 ]; then echo "logs kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
fail() { echo "FAIL: $*"; [ -f "$work/server.log" ] && tail -5 "$work/server.log"; exit 1; }
# until SECONDS COMMAND...: retries COMMAND every 0.1 s for at most SECONDS
until_ok() { local n=$(( $1 * 10 )) i; shift; for i in $(seq "$n"); do "$@" && return 0; sleep 0.1; done; return 1; }

mkdir -p "$work/home" "$work/probe-home" "$work/runtime" "$work/state"
echo "autospawn = no" > "$work/client.conf"
export PULSE_CLIENTCONFIG="$work/client.conf" PULSE_COOKIE="$work/home/cookie" JACK_NO_START_SERVER=1
# The probe's own ALSA default is the pulse plugin, whatever the machine's is (a
# desktop may route ALSA to PipeWire or a card): then it can only reach our server.
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$work/probe-home/.asoundrc"
probe_env=(env HOME="$work/probe-home")  # env execs the command: $! is its PID

start_server() {
  HOME="$work/home" PULSE_RUNTIME_PATH="$work/runtime" PULSE_STATE_PATH="$work/state" \
  pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
    --realtime=no --high-priority=no --log-target="file:$work/server.log" \
    -L "module-native-protocol-unix socket=$work/socket auth-anonymous=1" \
    -L "module-null-sink sink_name=probe rate=48000 channels=2" </dev/null >/dev/null 2>&1 &
  server=$!
  export PULSE_SERVER="unix:$work/socket" PULSE_SINK=probe
  until_ok 10 timeout 2 pactl info >/dev/null 2>&1 || fail "the sound server did not start"
  server_up=$(date +%s.%N)  # it answers clients from here
  timeout 5 pactl set-default-sink probe
}

# --- 1. play ---------------------------------------------------------------------
start_server
parecord --device=probe.monitor --file-format=wav --format=s16le --rate=48000 --channels=2 \
  --latency-msec=10 "$work/recording.wav" </dev/null >"$work/recorder.log" 2>&1 &
recorder=$!
has_recorder() { [ -n "$(timeout 2 pactl list short source-outputs 2>/dev/null)" ]; }
until_ok 10 has_recorder || fail "the recorder did not connect"
# A new null sink runs a second or two ahead of real time until a stream sets its
# latency; suspending and resuming it restarts its clock with the recorder's 10 ms.
timeout 5 pactl suspend-sink probe 1; timeout 5 pactl suspend-sink probe 0
has_data() { [ "$(stat -c %s "$work/recording.wav" 2>/dev/null || echo 0)" -gt 19200 ]; }
until_ok 10 has_data || fail "the recorder got no sound"

"${probe_env[@]}" timeout -k 5 30 "$probe" play >"$work/play.out" 2>"$work/play.err" </dev/null
status=$?
cat "$work/play.out"
[ $status = 0 ] || { cat "$work/play.err"; fail "play exited with $status"; }
sleep 0.3
stop "$recorder" INT; recorder=""
"$probe" check "$work/recording.wav" || fail "the tone is not in the recording"

# --- 2. lose (and return) ---------------------------------------------------------
rounds=${ROUNDS:-2}
now() { date +%s.%N; }
count() { grep -c "$1" "$2" 2>/dev/null; }
# at_least N PATTERN FILE: FILE has N lines matching PATTERN
at_least() { [ "$(count "$2" "$3")" -ge "$1" ]; }
# last_time PATTERN FILE: the wall-clock time on the last matching line of the probe's
last_time() { grep "$1" "$2" | tail -1 | awk '{print $NF}'; }

# record_return NAME PLAYS UP: records the restarted server until the probe has played
# on it (its PLAYS-th "device playing" line) and 1.5 s more, then finds the loop there.
# UP: when the server answered. Prints both delays; fails beyond 3 s.
record_return() {
  local name=$1 plays=$2 up=$3 stopped line offset length
  parecord --device=probe.monitor --file-format=wav --format=s16le --rate=48000 --channels=2 \
    --latency-msec=10 "$work/$name.wav" </dev/null >"$work/recorder.log" 2>&1 &
  recorder=$!
  until_ok 5 has_recorder || fail "$name: the recorder did not connect"
  timeout 5 pactl suspend-sink probe 1; timeout 5 pactl suspend-sink probe 0
  until_ok 5 at_least "$plays" "device playing" "$work/follow.out" || \
    { cat "$work/follow.err"; fail "$name: no sound 5 s after the server came back"; }
  sleep 1.5
  stopped=$(now)
  stop "$recorder" INT; recorder=""
  line=$("$probe" check "$work/$name.wav" 1000 50) || { echo "$line"; fail "$name: the loop is not in the recording"; }
  echo "$line"
  # The recording runs in real time up to its end: the loop began (length - offset)
  # before the recorder stopped.
  offset=$(echo "$line" | sed -n 's/.*tone at \([0-9.]*\) s.*/\1/p')
  length=$(echo "$line" | sed -n 's/.* \([0-9.]*\) s recorded.*/\1/p')
  awk -v up="$up" -v played="$(last_time "device playing" "$work/follow.out")" -v stopped="$stopped" \
      -v offset="$offset" -v total="$length" -v name="$name" 'BEGIN {
        heard = stopped - total + offset - up
        printf "%s: back after %.2f s (device playing), %.2f s (in the recording)\n", name, played - up, heard
        if (heard > 3.0) { print name ": the loop came back later than 3 s"; exit 1 }
      }' || fail "$name: too late"
}

rm -f "$work/stop"
"${probe_env[@]}" timeout -k 5 60 "$probe" follow "$work/stop" >"$work/follow.out" 2>"$work/follow.err" </dev/null &
child=$!
until_ok 15 at_least 1 "device playing" "$work/follow.out" || \
  { cat "$work/follow.err"; fail "the device did not open for the loss test"; }
for round in $(seq "$rounds"); do
  sleep 0.5
  stop "$server" KILL; server=""
  until_ok 5 at_least "$round" "no device" "$work/follow.out" || fail "losing the device went unnoticed"
  # Attempts fail while there is no server. Each round it stays away 0.3 s longer, so
  # that it comes back at a different point between the program's attempts.
  sleep "$(awk -v r="$round" 'BEGIN { print 0.7 + 0.3 * r }')"
  start_server
  record_return "return-$round" $((round + 1)) "$server_up"
done
touch "$work/stop"
wait "$child"; status=$?; child=""
cat "$work/follow.out" "$work/follow.err"
[ $status = 0 ] || fail "the program did not survive losing the device (exit $status)"
grep -q "$rounds losses, $rounds returns" "$work/follow.out" || fail "expected $rounds losses and returns"
[ "$(count "^tessaly: no sound (the sound device went away)" "$work/follow.err")" = "$rounds" ] && \
[ "$(count "^tessaly: sound is back" "$work/follow.err")" = "$rounds" ] && \
[ "$(count "^tessaly:" "$work/follow.err")" = $((2 * rounds)) ] || fail "expected one line per loss and per return"

# --- 3. late server ----------------------------------------------------------------
stop "$server" KILL; server=""
rm -f "$work/stop"
"${probe_env[@]}" timeout -k 5 60 "$probe" follow "$work/stop" >"$work/follow.out" 2>"$work/follow.err" </dev/null &
child=$!
until_ok 10 at_least 1 "no device" "$work/follow.out" || { cat "$work/follow.err"; fail "no null output without a server"; }
sleep 2
start_server
record_return late 1 "$server_up"
touch "$work/stop"
wait "$child"; status=$?; child=""
cat "$work/follow.out" "$work/follow.err"
[ $status = 0 ] || fail "the late case exited with $status"
grep -q "0 losses, 0 returns" "$work/follow.out" || fail "the late case saw losses"
[ "$(count "^tessaly:" "$work/follow.err")" = 2 ] && grep -q "^tessaly: sound is back" "$work/follow.err" || \
  fail "expected one line for no sound and one for its return"
stop "$server" TERM; server=""

# --- 3. silent -------------------------------------------------------------------
export PULSE_SERVER="unix:$work/no-server-here"
"${probe_env[@]}" timeout -k 5 30 "$probe" silent >"$work/silent.out" 2>"$work/silent.err" </dev/null
status=$?
cat "$work/silent.out" "$work/silent.err"
[ $status = 0 ] || fail "the null output did not run (exit $status)"
lines=$(wc -l <"$work/silent.err")
[ "$lines" -le 1 ] || fail "standard error has $lines lines, expected at most one"

echo "device test passed"
