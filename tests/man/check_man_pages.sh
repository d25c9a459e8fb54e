#!/usr/bin/env bash
# The manual pages: formatted without a single warning, with the sections an
# operator looks for, and installed by cmake --install.
# Usage: check_man_pages.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src="$1"
build="$2"
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

for page in "$src"/man/*.1; do
  name="$(basename "$page")"
  warnings="$(groff -man -Tutf8 -ww -z "$page" 2>&1)"
  [ -z "$warnings" ] || fail "$name: groff warns: $warnings"
  text="$(groff -man -Tutf8 "$page" 2>/dev/null | col -b)"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
    grep -q "^$section\$" <<<"$text" || fail "$name: no $section section"
  done
done

# Every program the build installs has its page.
for program in gui_mm mrxsim mm_cli; do
  [ -f "$src/man/$program.1" ] || fail "no manual page for $program"
done

# The verbs that mm_cli offers are the verbs its page describes.
if [ -x "$build/src/cli/mm_cli" ]; then
  page_text="$(groff -man -Tutf8 "$src/man/mm_cli.1" 2>/dev/null | col -bx)"
  verbs="$("$build/src/cli/mm_cli" --help | sed -n '/^Verbs:/,/^$/p' | grep -E '^  [a-z]' | awk '{print $1}')"
  [ -n "$verbs" ] || fail "mm_cli --help lists no verbs"
  for verb in $verbs; do
    grep -Eq "^ +$verb( |\$)" <<<"$page_text" || fail "mm_cli.1 does not describe the verb $verb"
  done
fi

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
if cmake --install "$build" --prefix "$prefix" >/dev/null 2>&1; then
  for page in "$src"/man/*.1; do
    installed="$prefix/share/man/man1/$(basename "$page")"
    cmp -s "$page" "$installed" || fail "$(basename "$page") not installed in share/man/man1"
  done
else
  fail "cmake --install failed"
fi

[ "$failed" -eq 0 ] && echo "manual pages: all good"
exit "$failed"
