#!/bin/sh
# Prints the totals (--summary) and the tree (--tree) of reports, for a
# machine without a display: scripts/show-reports.sh PROGRAM REPORT...
# Failed tests in the reports are what is shown, not a failure of this
# script: it exits 0 when both were printed, and with the program's status
# otherwise (2: a file could not be read, or the program could not start).
program="$1"
shift
status=0
"$program" --summary "$@" || status=$?
tree=0
"$program" --tree "$@" || tree=$?
[ "$status" -eq 1 ] && status=0
[ "$tree" -eq 1 ] && tree=0
[ "$status" -ne 0 ] && exit "$status"
exit "$tree"
