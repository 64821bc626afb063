#!/bin/sh
# Builds everything and runs the whole test suite, then runs the tests of
# reading, filtering and saving again under AddressSanitizer: deep, huge and
# malformed input must neither overflow the stack nor leak.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

sanitized="tst_qtree tst_amlreader tst_reader tst_filter tst_amlwriter tst_summary tst_resources"
export CCACHE_DIR="${CCACHE_DIR:-$PWD/build/.ccache}"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DXRD_SANITIZE=ON >/dev/null
for target in $sanitized; do cmake --build build-asan -j2 --target "$target"; done
cd build-asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
  ctest --output-on-failure -j2 -R "^($(echo $sanitized | tr ' ' '|'))\$"
