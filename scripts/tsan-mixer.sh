#!/usr/bin/env bash
# Builds the sound engine's test suites with ThreadSanitizer and runs them: above all
# MixerThreads, where the UI thread changes voices while another thread renders as the
# audio callback does. Only the engine and its tests are compiled, not the program.
# With --device it also runs the device test (tests/device) on the sanitized build:
# the worker thread, the PortAudio callback and the null output handing the mixer over.
#
#   scripts/tsan-mixer.sh [--device] [BUILD_DIR]   (default BUILD_DIR: build-tsan in the repo)
set -euo pipefail
device=0
if [ "${1:-}" = --device ]; then device=1; shift; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-tsan}
cmake -S "$root" -B "$build" -DTESSALY_SANITIZE=thread -DTESSALY_BUILD_GUI=OFF -DTESSALY_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(tessaly_engine_tests)
[ $device = 1 ] && targets+=(tessaly_device_probe)
cmake --build "$build" -j2 --target "${targets[@]}"
# halt_on_error: any report fails the run.
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" "$build/tests/engine/tessaly_engine_tests"
if [ $device = 1 ]; then
  # The sound server's client libraries and ALSA are not instrumented, and their own
  # locking looks racy to the sanitizer: only reports about our code count.
  supp="$build/tsan-audio.supp"
  printf '%s\n' race:libpulsecommon race:libpulse.so race:libasound race:libportaudio \
    called_from_lib:libpulsecommon-16.1.so called_from_lib:libpulse.so.0 >"$supp"
  TSAN_OPTIONS="halt_on_error=1 exitcode=66 suppressions=$supp ${TSAN_OPTIONS:-}" \
    "$root/tests/device/run-device-test.sh" "$build/tests/device/tessaly_device_probe"
fi
echo "tsan-mixer: clean"
