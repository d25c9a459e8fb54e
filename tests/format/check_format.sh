#!/usr/bin/env bash
# Every C++ source of the tree follows the repository's .clang-format.
# Usage: check_format.sh SOURCE_DIR
set -euo pipefail
cd "$1"
mapfile -d '' files < <(find src sim bench tests -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${#files[@]}" -eq 0 ]; then
  echo "check_format: no sources found under $1" >&2
  exit 1
fi
if out=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "check_format: ${#files[@]} files follow .clang-format"
  exit 0
fi
echo "check_format: these files do not follow .clang-format (run clang-format -i on them):" >&2
printf '%s\n' "$out" | sed -nE 's/^([^:]+):[0-9]+:[0-9]+: (error|warning):.*/\1/p' | sort -u >&2
exit 1
