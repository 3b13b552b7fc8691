#!/usr/bin/env bash
# Runs a test program on a private Xvfb display; exit 77 (skipped) where Xvfb is missing.
set -euo pipefail
for tool in xvfb-run Xvfb xauth xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: '$tool' is not installed; X11 tests need Xvfb (xvfb, xauth) and xdotool"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$@"
