#!/usr/bin/env bash
# Sets up, builds and runs every test inside a private network namespace.
#   scripts/test.sh              the normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer and UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  export MM_BUILD=build-asan
  bash scripts/build.sh -DMM_SANITIZE=ON
else
  export MM_BUILD=build
  bash scripts/build.sh
fi
exec bash scripts/in_netns.sh ctest --test-dir "$MM_BUILD" --output-on-failure -j 2
