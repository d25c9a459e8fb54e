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
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# snmpd starts a system daemon on install; the tests run their own agents.
if command -v systemctl >/dev/null 2>&1; then "${sudo_cmd[@]}" systemctl disable --now snmpd >/dev/null 2>&1 || true; fi
"${sudo_cmd[@]}" pkill -x snmpd >/dev/null 2>&1 || true
# tftpd-hpa (the file benchmark's reference) also starts a daemon on install;
# the benchmark runs its own inside the private network namespace.
if [ -x /etc/init.d/tftpd-hpa ]; then "${sudo_cmd[@]}" /etc/init.d/tftpd-hpa stop >/dev/null 2>&1 || true; fi
