#!/usr/bin/env bash
# The demo's screenshot hint, run as printed from a shell outside the
# demo's network namespace, captures the demo's own X server, even when
# that shell's namespace has another X server of the same display number
# (a decoy listening only on the abstract socket, as another desktop would).
# Usage: check_demo.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src="$1"
build="$2"
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null; then
  echo "integration test not run: needs root for its namespaces"
  exit 77
fi
work="$(mktemp -d)"
demo_pid=""
decoy_pid=""
stop() {
  for pid in $demo_pid $decoy_pid; do
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap stop EXIT
fail() {
  echo "FAIL: $*"
  echo "--- demo output:"
  cat "$work/out"; echo "--- decoy:"; cat "$work/decoy.log" 2>/dev/null
  exit 1
}
# Waits (bounded) until the command succeeds.
await() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done
  return 1
}

cd "$src" || exit 1
rel="$(realpath --relative-to="$src" "$build")"
unshare --net -- env -u DISPLAY -u SUDO_USER MM_IN_NETNS=1 MM_BUILD="$rel" \
  bash -c 'ip link set lo up && exec bash scripts/run.sh' >"$work/out" 2>&1 &
demo_pid=$!
await grep -q '^Simulated Morix devices' "$work/out" || fail "the demo did not start"
hint="$(grep -A1 '^Take a screenshot from another shell with:' "$work/out" | sed -n '2s/^  //p')"
[ -n "$hint" ] || fail "no screenshot hint"
display="$(sed -n 's/^No DISPLAY: started Xvfb on \(:[0-9]*\) .*/\1/p' "$work/out")"
[ -n "$display" ] || fail "no display named"

# The decoy: same display number, this namespace's abstract socket only
# (its lock file and file socket live in a /tmp of its own). Xvfb writes
# the display number to descriptor 3 once it accepts clients.
unshare --mount --propagation private -- bash -c \
  'mount -t tmpfs tmpfs /tmp && exec Xvfb "$1" -displayfd 3 -screen 0 640x480x24 -nolisten tcp' bash "$display" \
  3>"$work/decoy.ready" >"$work/decoy.log" 2>&1 &
decoy_pid=$!
size() { identify -format '%wx%h' "$1" 2>/dev/null; }
decoy_ready() { [ -s "$work/decoy.ready" ]; }
for _ in $(seq 300); do
  decoy_ready && break
  kill -0 "$decoy_pid" 2>/dev/null || fail "the decoy X server ended before it was ready"
  sleep 0.2
done
decoy_ready || fail "the decoy X server was not ready after a minute"
# The naive hint reaches the decoy: the check can tell the servers apart.
# Where this system's X library does not try the abstract socket first, the
# naive hint cannot reach the decoy and only the printed hint is checked.
decoy_up() { env DISPLAY="$display" xdpyinfo 2>/dev/null | grep -q 'dimensions: *640x480'; }
if await decoy_up; then
  (cd "$work" && DISPLAY="$display" import -window root naive.png) || fail "no naive screenshot"
  [ "$(size "$work/naive.png")" = 640x480 ] || fail "the decoy was not reached: $(size "$work/naive.png")"
else
  echo "note: DISPLAY=$display alone does not reach the decoy here:"
  env DISPLAY="$display" xdpyinfo 2>&1 | grep -E 'dimensions|unable|error' | head -3
fi

# The printed hint, as printed, from this shell.
main_window() {
  (cd "$work" && eval "$hint") && [ "$(size "$work/screenshot.png")" = 1280x1024 ] &&
    [ "$(identify -format '%k' "$work/screenshot.png")" -gt 8 ]
}
await main_window || fail "the hint '$hint' did not capture the demo's screen: $(size "$work/screenshot.png")"
echo "ok: '$hint' captured the demo's 1280x1024 screen"
