#!/usr/bin/env bash
# Installs what is missing, configures and builds into build/ (or $MM_BUILD).
# Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir="${MM_BUILD:-build}"
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
