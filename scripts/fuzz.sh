#!/usr/bin/env bash
# Builds the libFuzzer targets (catalogue readers; SNMP answers and discovery
# replies) with clang into build-fuzz/ and runs each for a bounded time
# (default 60 s): scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
secs="${1:-60}"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DMM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_catalogue fuzz_replies
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/corpus/* "$corpus"/
bash scripts/in_netns.sh build-fuzz/tests/fuzz/fuzz_catalogue -max_total_time="$secs" -max_len=4096 "$corpus"
replies=$(mktemp -d)
trap 'rm -rf "$corpus" "$replies"' EXIT
bash scripts/in_netns.sh build-fuzz/tests/fuzz/fuzz_replies -max_total_time="$secs" -max_len=1500 "$replies"
