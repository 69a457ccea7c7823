#!/usr/bin/env bash
# Sets up (Debian packages), builds and starts Tessaly.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
exec "${TESSALY_BUILD_DIR:-build}/src/shell/tessaly" "$@"
