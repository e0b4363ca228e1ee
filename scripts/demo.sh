#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs the demo: a fresh SQLite
# metering database with a small network, a loss-calculation task run through the driver, and the
# stored losses printed.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
exec ./build/release/bin/tlhost demo "$@"
