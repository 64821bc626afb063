#!/bin/sh
# Builds everything (benchmarks included, warnings as errors) and runs the
# whole test suite, then builds again with AddressSanitizer and UBSan and runs
# every suite there: deep, huge and malformed input must neither overflow the
# stack nor leak.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
XRD_BENCHMARKS=ON XRD_WERROR=ON scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DXRD_SANITIZE=ON -DXRD_WERROR=ON >/dev/null
cmake --build build-asan -j2
cd build-asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2 -L suite
