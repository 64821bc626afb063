#!/bin/sh
# Installs the build tree given as $1 into a temporary prefix (removed at the
# end) and runs the installed xrdview there, away from the build and source
# trees, on the examples of the source tree $2.
set -u
build=$1
examples=$2/examples
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for file in bin/xrdview lib/xrdview/libxrdreporter.so lib/xrdview/libhostsdk.so \
            share/xrdview/lib/reporterstyle.aml share/xrdview/pixmaps/testok.xpm \
            share/xrdview/translations/xrdview_fr.qm share/applications/xrdview.desktop \
            share/man/man1/xrdview.1; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
ldd "$prefix/bin/xrdview" | grep -q "=> $prefix/.*lib/xrdview/libhostsdk.so" ||
  fail "the installed program does not use the installed libhostsdk.so"

cd /
run() {
  env -u XRD_PLUGIN XDG_CONFIG_HOME="$prefix/config" "$prefix/bin/xrdview" "$@" \
    >"$prefix/out" 2>"$prefix/err"
}
run --summary "$examples/release-passed.xrd"
status=$?
[ $status -eq 0 ] || { cat "$prefix/err"; fail "--summary on a passed report exits $status"; }
grep -q "\[19\] Test Case Passed" "$prefix/out" || fail "no totals: $(cat "$prefix/out")"
run --summary "$examples/nightly-failures.xrd"
status=$?
[ $status -eq 1 ] || fail "--summary on a failed report exits $status"
run --tree --failed-only "$examples/nightly-failures.xrd"
grep -q "KO duplicate_section_merges" "$prefix/out" || fail "--tree: $(cat "$prefix/out")"
[ ! -e "$prefix/config" ] || fail "a command-line run wrote settings"
echo "installed xrdview runs from $prefix"
