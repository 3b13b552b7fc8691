#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors, and runs the whole test suite
# (headless Qt Quick tests and the Xvfb end-to-end tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev -j2 "$@"
