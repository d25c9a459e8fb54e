#!/usr/bin/env bash
# Sets up and builds the program, then stages the installation tree that
# GUI_MM_DIR points at.
set -euo pipefail
cd "$(dirname "$0")/.."
export MM_BUILD=build
bash scripts/build.sh
stage="$PWD/build/gui_mm_dir"
if [ ! -x build/src/frame/gui_mm ]; then
  echo "Built and staged the installation tree in $stage."
  echo "The windowed program is not part of this build yet; nothing was started."
  exit 0
fi
