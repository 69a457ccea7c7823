#!/usr/bin/env bash
# Builds the core, engine and headless suites with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them (about 5 minutes on two cores).
#   scripts/asan-tests.sh [BUILD_DIR]   (default: build-asan in the repo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-asan}
cmake -S "$root" -B "$build" -DTESSALY_SANITIZE=address,undefined -DTESSALY_BUILD_GUI=OFF \
  -DTESSALY_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target tessaly_tests
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "$build/tests/tessaly_tests"
