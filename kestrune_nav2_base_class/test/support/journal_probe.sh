#!/bin/sh
# Runs a command against a private systemd-journald and prints, as JSON lines,
# the journal entries it wrote with SYSLOG_IDENTIFIER=spdlog.
# Meant to run inside `unshare -m`, so the bind mounts stay private to it.
#   journal_probe.sh <scratch dir> <command> [args...]
set -eu
scratch=$1
shift

journald=""
for candidate in /lib/systemd/systemd-journald /usr/lib/systemd/systemd-journald; do
  if [ -x "$candidate" ]; then journald=$candidate; break; fi
done
if [ -z "$journald" ]; then echo "SKIP: systemd-journald is not installed" >&2; exit 77; fi

mkdir -p "$scratch/systemd" "$scratch/log"
printf '[Journal]\nStorage=volatile\nRateLimitIntervalSec=0\n' > "$scratch/journald.conf"
if ! mount --bind "$scratch/systemd" /run/systemd 2>/dev/null; then
  echo "SKIP: cannot bind-mount over /run/systemd (no private mount namespace)" >&2; exit 77
fi
mount --bind "$scratch/log" /run/log
mount --bind "$scratch/journald.conf" /etc/systemd/journald.conf

"$journald" &
journald_pid=$!
trap 'kill $journald_pid 2>/dev/null || true; wait $journald_pid 2>/dev/null || true' EXIT

tries=0
while [ ! -S /run/systemd/journal/socket ]; do
  tries=$((tries + 1))
  if [ $tries -gt 200 ]; then echo "journald did not create its socket" >&2; exit 1; fi
  sleep 0.05
done

SPDLOG_STDOUT=false SPDLOG_SYSTEMD=true SPDLOG_LEVEL=info "$@" >/dev/null
# Have journald write out everything it has received before reading it back.
journalctl --sync
journalctl --directory="/run/log/journal/$(cat /etc/machine-id)" -o json SYSLOG_IDENTIFIER=spdlog
