#!/bin/sh
# Installs the build tree given as $1 into a temporary prefix, moves the
# installed tree to another folder (the tree must not depend on where it was
# installed) and runs the installed xrdview there, away from the build and
# source trees, on the examples of the source tree $2. The folders are
# removed at the end.
set -u
build=$1
examples=$2/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/installed" >/dev/null || fail "cmake --install"
mv "$work/installed" "$work/moved"
prefix=$work/moved
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

# The HTML export reads the installed dhtml.cfg (its page footer).
sed -i 's/^pageFooter =.*/pageFooter = installed footer/' "$prefix/share/xrdview/dhtml.cfg"
run --export-html "$prefix/html" "$examples/release-passed.xrd"
grep -q "installed footer" "$prefix/html/index.html" || fail "the export ignores dhtml.cfg"

# Every option --help prints has an entry in the man page's list.
run --help
grep -oE -- "--[a-z-]+" "$prefix/out" | sort -u | while read -r option; do
  escaped=$(echo "$option" | sed 's/-/\\\\-/g')
  grep -A1 "^\.TP" "$prefix/share/man/man1/xrdview.1" | grep -qE "^\.B.* $escaped( |\"|\$)" ||
    fail "the man page lists no $option"
done || exit 1

# In French from the installed translation, in English without it.
french() { LANG=fr_FR.UTF-8 LANGUAGE=fr run "$@"; }
french --help
grep -q "Afficher les totaux" "$prefix/out" || fail "--help is not in French: $(cat "$prefix/out")"
french --tree --summary "$examples/release-passed.xrd"
grep -q "s'excluent mutuellement" "$prefix/err" || fail "usage error not in French"
rm "$prefix/share/xrdview/translations/xrdview_fr.qm"
french --help
grep -q "Print the passed and failed totals" "$prefix/out" || fail "a French text without the .qm"
echo "installed xrdview runs from $prefix, moved after installing"
