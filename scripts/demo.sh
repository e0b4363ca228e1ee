#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs the demo: a fresh SQLite
# metering database with a small network, a loss-calculation task run through the driver, and the
# stored losses printed. Without arguments the demo writes into build/release/demo/ (replacing an
# earlier demo there); arguments go to "tlhost demo" instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target tlhost
if [ $# -eq 0 ]; then
  set -- --db build/release/demo/ --force
fi
exec ./build/release/bin/tlhost demo "$@"
