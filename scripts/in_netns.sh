#!/usr/bin/env bash
# Runs a command inside a private network namespace with only loopback up:
# nothing it sends can leave the machine, and name lookups that /etc/hosts
# cannot answer fail at once instead of reaching a resolver.
set -euo pipefail
if [ "$#" -eq 0 ]; then
  echo "usage: $0 command [args...]" >&2
  exit 2
fi
if [ "${MM_IN_NETNS:-}" = 1 ]; then
  exec "$@"
fi
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo --preserve-env)
exec "${as_root[@]}" unshare --net -- env MM_IN_NETNS=1 bash -c 'ip link set lo up && exec "$@"' bash "$@"
