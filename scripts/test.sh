#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer + UBSan and
# warnings as errors, and runs every test; then runs the tests that touch the database once more on
# a throwaway PostgreSQL cluster.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh clang-format
./scripts/check-format.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
./scripts/with-postgres.sh ctest --preset asan -L database
