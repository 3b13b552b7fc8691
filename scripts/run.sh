#!/usr/bin/env bash
# Sets up the machine, builds an optimised velmora, and starts the launcher.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target velmora
exec build/release/src/velmora/app/velmora "$@"
