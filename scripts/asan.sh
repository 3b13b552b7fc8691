#!/usr/bin/env bash
# Builds the core and its tests with ASan + UBSan and runs them (end-to-end tests excluded).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j2 "$@"
