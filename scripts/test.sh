#!/usr/bin/env bash
# Sets up (Debian packages), builds and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
cd "${TESSALY_BUILD_DIR:-build}"
# The window's tests need no screen.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --output-on-failure -j"$(nproc)" "$@"
