#!/bin/sh
# Builds and runs the viewer on the given reports, or on the bundled examples.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh xrdview
if [ $# -eq 0 ]; then
  set -- examples/*.xrd
fi
exec build/studio/xrdview "$@"
