#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  libmotif-dev libxt-dev libx11-dev libxtst-dev uil
  libsnmp-dev snmpd snmp
  xvfb x11-apps x11-utils xfonts-base imagemagick xdotool mwm groff-base
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  iproute2 util-linux valgrind
  tftpd-hpa tftp-hpa
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

# The daemons among the packages this run installs. Their packages start
# and enable a system service on install; the tests and benchmarks run
# their own instances, so only a service this run brought is stopped and
# disabled. A daemon that was installed before is left exactly as it was,
# and no process is ever ended by name.
daemons=()
for p in "${missing[@]}"; do
  case "$p" in snmpd | tftpd-hpa) daemons+=("$p") ;; esac
done

# While installing, ask the packages not to start services at all (Debian's
# policy hook); a hook the machine already has is left in place.
policy=/usr/sbin/policy-rc.d
own_policy=0
if [ "${#daemons[@]}" -gt 0 ] && [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | "${sudo_cmd[@]}" tee "$policy" >/dev/null
  "${sudo_cmd[@]}" chmod 755 "$policy"
  own_policy=1
fi
remove_policy() {
  [ "$own_policy" = 1 ] && "${sudo_cmd[@]}" rm -f "$policy"
  return 0
}
trap remove_policy EXIT

"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

# Services of the daemons just installed: the instance their own service
# manager started (if any got past the hook) is stopped, and the service is
# not started at boot.
for d in "${daemons[@]}"; do
  if [ -d /run/systemd/system ]; then
    "${sudo_cmd[@]}" systemctl disable --now "$d" >/dev/null 2>&1 || true
  else
    # Only the process named by the service's own pid file.
    pidfile="/run/$d.pid"
    if [ -f "$pidfile" ]; then
      "${sudo_cmd[@]}" start-stop-daemon --stop --quiet --oknodo --pidfile "$pidfile" --remove-pidfile >/dev/null 2>&1 || true
    fi
    "${sudo_cmd[@]}" update-rc.d "$d" disable >/dev/null 2>&1 || true
  fi
  echo "setup: installed $d; its system service is stopped and disabled (the tests run their own)"
done
