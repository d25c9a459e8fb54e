#!/usr/bin/env bash
# Builds and stages the program, starts a simulated network of Morix devices
# (mrxsim on 127.0.0.2 to 127.0.0.7) and then gui_mm on the staged tree,
# which finds the devices by start-up discovery (broadcast to
# 127.255.255.255). Everything runs inside a private network namespace:
# nothing it sends leaves the machine.
# Without DISPLAY it starts its own X server (Xvfb) with the Motif window
# manager (mwm) on it, and says how to take a screenshot; both are stopped
# when the program ends. On a display the user already has, the user's own
# window manager is left alone.
# Extra arguments go to gui_mm (for example -debug or -mrx <name>).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${MM_IN_NETNS:-}" != 1 ]; then
  export MM_BUILD="${MM_BUILD:-build}"
  bash scripts/setup.sh
  cmake -S . -B "$MM_BUILD" -G Ninja >/dev/null
  # Only what the program needs: gui_mm, its interface description and the
  # staged installation tree.
  cmake --build "$MM_BUILD" -j "$(nproc)" --target gui_mm gui_mm_uid stage mrxsim
  exec bash scripts/in_netns.sh bash scripts/run.sh "$@"
fi

build="${MM_BUILD:-build}"
export GUI_MM_DIR="$PWD/$build/gui_mm_dir"
program="$PWD/$build/src/motif/gui_mm"
xvfb_pid=""
mwm_pid=""
gui_pid=""
sim_pid=""
load_root=""

# Stops what this script started, by process id, and removes the load
# host's folder.
# mwm only notes a SIGTERM and quits at its next X event, so a process
# still there after two seconds is killed.
stop_started() {
  for pid in $gui_pid $sim_pid $mwm_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -n "$load_root" ] && rm -rf "$load_root"
  return 0
}
trap stop_started EXIT
trap "exit 130" INT TERM

if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number and writes it to the file.
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  n="$(head -n1 "$display_file")"
  rm -f "$display_file"
  if [ -z "$n" ]; then
    echo "Could not start Xvfb." >&2
    exit 1
  fi
  export DISPLAY=":$n"
  # The window manager frames, moves and stacks the windows; wait until it
  # has announced itself on the root window.
  mwm >/dev/null 2>&1 &
  mwm_pid=$!
  for _ in $(seq 50); do
    xprop -root _MOTIF_WM_INFO 2>/dev/null | grep -q ' = ' && break
    sleep 0.1
  done
  echo "No DISPLAY: started Xvfb on $DISPLAY (pid $xvfb_pid) with mwm (pid $mwm_pid)."
  # The X server lives in this script's network namespace: a client from
  # another shell with only DISPLAY set may reach another server of the
  # same number there, so the hint enters this namespace first.
  as_root=""
  [ -n "${SUDO_USER:-}" ] && as_root="sudo "
  echo "Take a screenshot from another shell with:"
  echo "  ${as_root}nsenter --net=/proc/$$/ns/net env DISPLAY=$DISPLAY import -window root screenshot.png"
fi

# The simulated network: one device per product family, on loopback.
sim_args=()
n=2
for profile in modell modelj modeln modelq modelt modelg; do
  sim_args+=(--profile "sim/profiles/$profile.prof" --addr "127.0.0.$n")
  n=$((n + 1))
done
# The load host (the devices' mrxPrefLoadAddr) serves a copy of
# sim/loadhost: the configuration file with its modem section and include.
load_root="$(mktemp -d)"
cp -R sim/loadhost/. "$load_root/"
sim_args+=(--load-host 127.0.0.1 --root "$load_root")
sim_out="$(mktemp)"
"$PWD/$build/sim/mrxsim" "${sim_args[@]}" --catalogue "$GUI_MM_DIR/data/gui_mm_data" >"$sim_out" &
sim_pid=$!
for _ in $(seq 100); do
  grep -q '^ready' "$sim_out" 2>/dev/null && break
  sleep 0.1
done
if ! grep -q '^ready' "$sim_out"; then
  rm -f "$sim_out"
  echo "The device simulator did not start." >&2
  exit 1
fi
rm -f "$sim_out"
echo "Simulated Morix devices on 127.0.0.2 to 127.0.0.$((n - 1)) (mrxsim pid $sim_pid)."

# Start-up discovery broadcasts to 127.255.255.255 only.
"$program" -dn 127.0.0.1 -ds 255.0.0.0 "$@" &
gui_pid=$!
status=0
wait "$gui_pid" || status=$?
gui_pid=""
exit "$status"
