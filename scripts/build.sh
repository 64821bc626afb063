#!/bin/sh
# Configures and builds the project in build/ (targets given as arguments,
# everything otherwise).
set -e
cd "$(dirname "$0")/.."
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -eq 0 ]; then
  cmake --build build -j2
else
  for target in "$@"; do cmake --build build -j2 --target "$target"; done
fi
