#!/usr/bin/env bash
# Installs what is missing, configures and builds into build/ (or $MM_BUILD).
# Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir="${MM_BUILD:-build}"
launcher=()
# A compiler cache, when installed, makes rebuilds of other checkouts quick.
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
