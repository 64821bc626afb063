#!/bin/sh
# Applies each single-line fault of scripts/mutants.txt in turn, rebuilds the
# suites of the changed file's folder, runs them and restores the file. Prints
# every mutant as "killed" (a suite failed), "survived" (all passed) or
# "unbuilt" (the fault does not compile), then the counts.
#
#   scripts/mutants.sh [--build-dir DIR] [FOLDER...]
#
# DIR (default build/) must be configured already; FOLDERs limit the run to
# the faults in those product folders.
set -u
cd "$(dirname "$0")/.."
build=build
if [ "${1:-}" = "--build-dir" ]; then
  build=$2
  shift 2
fi
folders="$*"
[ -f "$build/CTestTestfile.cmake" ] || { echo "mutants: $build is not a configured build folder" >&2; exit 2; }

current=""
backup=$(mktemp)
restore() {
  [ -n "$current" ] && cp "$backup" "$current"
  current=""
}
trap 'restore; rm -f "$backup"; exit 130' INT TERM

# mutate FILE ORIGINAL MUTANT: replaces the one occurrence of ORIGINAL.
mutate() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
path, original, mutant = sys.argv[1:]
text = open(path, encoding="utf-8").read()
if text.count(original) != 1:
    sys.exit("%s: found %d times: %s" % (path, text.count(original), original))
open(path, "w", encoding="utf-8").write(text.replace(original, mutant))
PY
}

# Every fault must still match the code before any is applied.
python3 - <<'PY' || exit 2
import sys
bad = 0
for entry in open("scripts/mutants.txt", encoding="utf-8"):
    entry = entry.rstrip("\n")
    if not entry or entry.startswith("#"):
        continue
    path, rest = entry.split(": ", 1)
    original = rest.split(" ==> ")[0]
    found = open(path, encoding="utf-8").read().count(original)
    if found != 1:
        print("mutants: %s: found %d times: %s" % (path, found, original), file=sys.stderr)
        bad += 1
sys.exit(1 if bad else 0)
PY

killed=0 survived=0 unbuilt=0
while IFS= read -r entry; do
  case "$entry" in '#'* | '') continue ;; esac
  file=${entry%%: *}
  rest=${entry#*: }
  original=${rest%% ==> *}
  mutant=${rest#* ==> }
  folder=${file%%/*}
  if [ -n "$folders" ] && ! echo " $folders " | grep -q " $folder "; then continue; fi
  # The suites' programs: a CTest test that runs a script (a suite again,
  # against a server it starts) is no target to build.
  suites=$(cd "$build" && ctest -N -L "^$folder\$" | sed -n 's/^ *Test *#[0-9]*: //p' |
    while read -r name; do [ -x "tests/$name" ] && echo "$name"; done)
  cp "$file" "$backup"
  current=$file
  if ! mutate "$file" "$original" "$mutant"; then
    restore
    echo "mutants: the list no longer matches the code" >&2
    exit 2
  fi
  if ! cmake --build "$build" -j2 --target $suites >/dev/null 2>&1; then
    verdict=unbuilt
    unbuilt=$((unbuilt + 1))
  elif (cd "$build" && ctest -L "^$folder\$" --stop-on-failure >/dev/null 2>&1); then
    verdict=survived
    survived=$((survived + 1))
  else
    verdict=killed
    killed=$((killed + 1))
  fi
  restore
  printf "%s\t%s: %s\n" "$verdict" "$file" "$original"
done < scripts/mutants.txt
rm -f "$backup"
# Leave the build matching the restored sources.
cmake --build "$build" -j2 >/dev/null 2>&1
echo "killed: $killed  survived: $survived  unbuilt: $unbuilt"
