#!/usr/bin/env bash
# Builds the calculator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
nimbo_install_missing
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target nimbo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)."
  echo "Start it on a virtual display instead:  xvfb-run -a build/nimbo/nimbo"
  exit 1
fi
exec build/nimbo/nimbo
