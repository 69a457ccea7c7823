# Sourced by the measuring tools: a private PulseAudio server on a null sink named
# `out`, standing in for a sound card. Needs $work (a scratch folder); sets $server
# to its pid and returns once it answers (or after about 5 s).
start_private_pulse() {
  HOME="$work/home" PULSE_RUNTIME_PATH="$work/run" PULSE_STATE_PATH="$work/state" \
    pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit --realtime=no \
    --high-priority=no --log-target="file:$work/server.log" \
    -L "module-native-protocol-unix socket=$work/socket auth-anonymous=1" \
    -L "module-null-sink sink_name=out rate=48000 channels=2" </dev/null >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do timeout 2 pactl info >/dev/null 2>&1 && break; sleep 0.05; done
}
