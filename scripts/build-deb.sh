#!/usr/bin/env bash
# Builds the Debian package of tlosses (release build, installed under /usr) into build/deb/.
# Needs the build dependencies of scripts/install-deps.sh (help2man and dpkg-dev among them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/deb
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTL_BUILD_TESTS=OFF -DTL_BUILD_BENCH=OFF -DTL_REQUIRE_MAN_PAGE=ON "$@"
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/*.deb
