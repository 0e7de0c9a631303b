#!/usr/bin/env bash
# Stops the private MariaDB server started by scripts/mariadb-start.sh STATE_DIR and
# removes its data and socket folders (the error log is kept for a look afterwards).
#
#   scripts/mariadb-stop.sh STATE_DIR
set -uo pipefail

state=${1:?usage: mariadb-stop.sh STATE_DIR}
[[ -d $state ]] || exit 0

gone() {
    # A process whose parent has not reaped it yet is a zombie: it is gone for us.
    [[ ! -e /proc/$1 ]] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

if [[ -f $state/pid ]]; then
    pid=$(<"$state/pid")
    # Only the server we started: the process must still be a mariadbd on our data folder.
    if [[ $pid =~ ^[0-9]+$ ]] && grep -qs -- "$state/data" "/proc/$pid/cmdline"; then
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 1 300); do   # up to 30 s, usually well under a second
            gone "$pid" && break
            sleep 0.1
        done
        gone "$pid" || kill -KILL "$pid" 2>/dev/null
    fi
    rm -f "$state/pid"
fi
if [[ -f $state/sockdir ]]; then
    sockdir=$(<"$state/sockdir")
    [[ $sockdir == /tmp/vmdb.* ]] && rm -rf "$sockdir"
    rm -f "$state/sockdir"
fi
rm -rf "$state/data" "$state/address"
exit 0
