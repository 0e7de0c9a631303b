#!/usr/bin/env bash
# Stops the private CUPS server started by scripts/cups-start.sh STATE_DIR and removes its
# folder under /tmp.
#
#   scripts/cups-stop.sh STATE_DIR
set -uo pipefail

state=${1:?usage: cups-stop.sh STATE_DIR}
[[ -d $state ]] || exit 0

gone() {
    # A process whose parent has not reaped it yet is a zombie: it is gone for us.
    [[ ! -e /proc/$1 ]] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

dir=
[[ -f $state/dir ]] && dir=$(<"$state/dir")
if [[ -f $state/pid ]]; then
    pid=$(<"$state/pid")
    # Only the daemon we started: the process must still be a cupsd on our folder.
    if [[ $pid =~ ^[0-9]+$ && -n $dir ]] && grep -qs -- "$dir/cupsd.conf" "/proc/$pid/cmdline"; then
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 1 100); do   # up to 10 s
            gone "$pid" && break
            sleep 0.1
        done
        gone "$pid" || kill -KILL "$pid" 2>/dev/null
    fi
    rm -f "$state/pid"
fi
if [[ $dir == /tmp/vcups.* ]]; then
    rm -rf "$dir"
fi
rm -f "$state/dir" "$state/address"
exit 0
