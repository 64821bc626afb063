#!/bin/sh
# Checks that every translation in resources/translations is complete: runs
# lupdate over the sources into a temporary copy of each .ts (the source tree
# is not touched) and fails when a message is missing or unfinished, when an
# entry is no longer in the sources, or when lupdate finds a text it cannot
# give a context to (at run time that text would not be translated).
#
#   scripts/check-translations.sh [LUPDATE]
set -u
cd "$(dirname "$0")/.." || exit 1
lupdate=${1:-/usr/lib/qt6/bin/lupdate}
folders="hostsdk doclib settings report documents importers viewer export plugin studio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in resources/translations/*.ts; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  # shellcheck disable=SC2086 # the folders are separate arguments
  if ! "$lupdate" -locations none $folders -ts "$copy" >"$work/log" 2>&1; then
    cat "$work/log"
    echo "FAIL: lupdate failed on $ts"
    exit 1
  fi
  if grep -E "^/.*: " "$work/log"; then
    echo "FAIL: lupdate cannot file the texts above under their context"
    status=1
  fi
  incomplete=$(grep -cE 'type="(unfinished|vanished|obsolete)"' "$copy")
  if [ "$incomplete" -ne 0 ]; then
    grep -B3 -E 'type="(unfinished|vanished|obsolete)"' "$copy" | grep "<source>"
    echo "FAIL: $ts: $incomplete message(s) missing, unfinished or no longer in the" \
      "sources (refresh with lupdate -no-obsolete, then translate)"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "translations complete"
exit "$status"
