#!/bin/sh
# Configures and builds the project in build/ (targets given as arguments,
# everything otherwise). XRD_BENCHMARKS=ON adds the benchmarks, XRD_WERROR=ON
# turns warnings into errors.
set -e
cd "$(dirname "$0")/.."
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DXRD_BENCHMARKS="${XRD_BENCHMARKS:-OFF}" -DXRD_WERROR="${XRD_WERROR:-OFF}" >/dev/null
if [ $# -eq 0 ]; then
  cmake --build build -j2
else
  for target in "$@"; do cmake --build build -j2 --target "$target"; done
fi
