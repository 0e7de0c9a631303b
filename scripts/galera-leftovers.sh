# Sourced by scripts/galera-start.sh and scripts/galera-stop.sh.
#
#   kill_leftovers FOLDER
#
# Kills (SIGKILL) the processes of Galera nodes that still work on FOLDER: a node itself
# (or the creation of its first data) and the helpers of a full copy (the shell that runs
# wsrep_sst_rsync, the script, its rsync daemon). The helpers outlive a node that died or
# was stopped during the copy, keep its ports and files, and may start the daemon after
# the node has gone, so the search is repeated until none is left (up to about 5 s). Only
# these programs, and only when their command line names FOLDER: the cluster's folder
# comes from mktemp, so no other run's processes match.
kill_leftovers() {
    local folder=$1 proc parts args found
    for _ in $(seq 1 50); do
        found=0
        for proc in /proc/[0-9]*; do
            # Read without a helper process: one per process of the machine made a search
            # take most of a second.
            mapfile -d '' -t parts 2>/dev/null <"$proc/cmdline" || continue
            args="${parts[*]}"
            [[ $args == *"$folder"* ]] || continue
            if [[ $args == *mariadbd\ * || $args == *mariadb-install-db* ||
                $args == *wsrep_sst_* || $args == rsync\ * ]]; then
                kill -KILL "${proc#/proc/}" 2>/dev/null && found=1
            fi
        done
        ((found)) || return 0
        sleep 0.1
    done
}
