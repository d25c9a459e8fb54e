#!/usr/bin/env bash
# Prints the lines of test code against the lines of code, and their ratio.
# Code: src, sim, bench, ui, scripts; tests: tests. C++, UIL, shell, Python.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.uil' \
    -o -name '*.sh' -o -name '*.py' \) -print0 2>/dev/null | xargs -0 cat 2>/dev/null | wc -l
}
code=$(count src sim bench ui scripts)
tests=$(count tests)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d lines, code %d lines, ratio %.2f\n", t, c, t / c }'
