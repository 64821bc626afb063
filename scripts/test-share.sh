#!/bin/sh
# Prints the non-blank lines of C++ product code (the library and program
# folders), of test code (tests/) and their ratio. Benchmarks count in
# neither.
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -c '[^[:space:]]'
}
product=$(count hostsdk doclib settings report documents importers viewer export plugin studio)
tests=$(count tests)
echo "product lines: $product"
echo "test lines: $tests"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "test share: %.2f\n", t / p }'
