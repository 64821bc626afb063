#!/bin/sh
# Builds xrdview and starts it on the given reports, or on the bundled
# examples: in its window when there is a display, otherwise as a command
# (--summary, then --tree).
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh xrdview
if [ $# -eq 0 ]; then
  set -- examples/*.xrd examples/results/*
fi
if [ -n "$DISPLAY$WAYLAND_DISPLAY" ]; then
  exec build/studio/xrdview "$@"
fi
echo "No display: the reports' totals and trees."
exec scripts/show-reports.sh build/studio/xrdview "$@"
