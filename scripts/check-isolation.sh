#!/bin/sh
# Runs every test function of every suite alone, then each suite's functions
# in reverse order, so that a test depending on another's leftovers fails.
# Usage: scripts/check-isolation.sh [BUILD_DIR]
cd "$(dirname "$0")/.."
build="${1:-build}"
export QT_QPA_PLATFORM=offscreen
status=0
for suite in "$build"/tests/tst_*; do
  [ -f "$suite" ] && [ -x "$suite" ] || continue
  functions=$("$suite" -functions | sed 's/()$//')
  for function in $functions; do
    if ! "$suite" "$function" >/dev/null 2>&1; then
      echo "FAIL alone: $(basename "$suite") $function"
      status=1
    fi
  done
  reversed=$(echo "$functions" | sed -n '1!G;h;$p')
  # shellcheck disable=SC2086
  if ! "$suite" $reversed >/dev/null 2>&1; then
    echo "FAIL in reverse order: $(basename "$suite")"
    status=1
  fi
done
[ $status -eq 0 ] && echo "Every test function passes alone and in reverse order."
exit $status
