#!/usr/bin/env bash
# Stops the private Galera cluster started by scripts/galera-start.sh STATE_DIR and removes
# its folder under /tmp (data and sockets). The nodes' error logs stay in STATE_DIR as
# node1.err, node2.err and node3.err for a look afterwards.
#
#   scripts/galera-stop.sh STATE_DIR
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${1:?usage: galera-stop.sh STATE_DIR}
[[ -d $state ]] || exit 0
source "$here/galera-leftovers.sh"

gone() {
    # A process whose parent has not reaped it yet is a zombie: it is gone for us.
    [[ ! -e /proc/$1 ]] || grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

dir=
[[ -f $state/dir ]] && dir=$(<"$state/dir")
# Only a folder that galera-start.sh made.
[[ $dir == /tmp/vgal.* ]] || dir=

recorded=0
[[ -f $state/pids ]] && recorded=$(grep -c . "$state/pids")
if [[ -n $dir ]]; then
    # A node not in the list was still joining when the start was cut short: it holds
    # nothing worth a clean stop, and its donor would not stop before the copy ends.
    for node_dir in "$dir"/n*/; do
        n=${node_dir%/}
        n=${n##*/n}
        [[ $n =~ ^[0-9]+$ ]] && ((n > recorded)) && kill_leftovers "$node_dir"
    done
fi
if ((recorded)) && [[ -n $dir ]]; then
    # Only the nodes we started: each process must still be a mariadbd on our folder.
    ours=()
    while read -r pid; do
        if [[ $pid =~ ^[0-9]+$ ]] && [[ $(cat "/proc/$pid/comm" 2>/dev/null) == mariadbd ]] &&
            grep -qs -- "--datadir=$dir/" "/proc/$pid/cmdline"; then
            ours=("$pid" "${ours[@]}")
        fi
    done <"$state/pids"
    # One at a time, the last joined first: a node leaves a cluster whose other members
    # answer in about a second, whereas nodes leaving together wait for each other until
    # they give up (5 s). Up to 30 s for all of them.
    waited=0
    for pid in "${ours[@]}"; do
        kill -TERM "$pid" 2>/dev/null
        while ! gone "$pid" && ((waited < 300)); do
            sleep 0.1
            ((waited += 1))
        done
    done
    for pid in "${ours[@]}"; do gone "$pid" || kill -KILL "$pid" 2>/dev/null; done
fi
rm -f "$state/pids"
if [[ -n $dir ]]; then
    # A node killed during a copy leaves the copy's helpers behind.
    kill_leftovers "$dir/"
    for log in "$state"/node*.err; do
        # The links of a running cluster become copies: the folder they point into goes.
        [[ -L $log ]] && cp --remove-destination "$(readlink "$log")" "$log" 2>/dev/null
        [[ -L $log ]] && rm -f "$log"
    done
    rm -rf "$dir"
fi
rm -f "$state/dir" "$state/addresses"
exit 0
