#!/usr/bin/env bash
# Starts a private three-node MariaDB Galera cluster for the tests, on free loopback ports,
# with the company database "test" loaded (schema and demo data) through node 1.
#
#   scripts/galera-start.sh STATE_DIR
#
# Node 1 starts the cluster; nodes 2 and 3 join it with an empty data folder and receive a
# full copy of node 1's (rsync). STATE_DIR receives these small files:
#   addresses  three lines "127.0.0.1:PORT", node 1 first
#   pids       the nodes' process ids, one a line, node 1 first
#   dir        the cluster's own folder under /tmp: each node's data, socket and error log
#   scripts    the folder of these scripts
#   node1.err, node2.err, node3.err
#              the nodes' error logs (links while the cluster runs; scripts/galera-stop.sh
#              leaves copies)
# A cluster left over in STATE_DIR by an interrupted run is stopped first, and a start that
# fails stops what it had started: nothing stays running without a complete cluster.
set -Eeuo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sql_dir=$(cd "$here/../sql" && pwd)
state=${1:?usage: galera-start.sh STATE_DIR}
root_password=58206137   # the administrator password compiled into the program
nodes=(1 2 3)

"$here/galera-stop.sh" "$state" >/dev/null 2>&1 || true
rm -rf "$state"
mkdir -p "$state"
state=$(cd "$state" && pwd)
echo "$here" >"$state/scripts"

# Started by root, the nodes run as mysql: as root, the rsync daemon that receives a
# joiner's copy runs as nobody and cannot create the joiner's folders. A build folder under
# /root is out of mysql's reach, hence a folder of the cluster's own under /tmp (short, too,
# as the Unix sockets need).
user=$(id -un)
((EUID == 0)) && user=mysql
dir=$(mktemp -d /tmp/vgal.XXXXXX)
echo "$dir" >"$state/dir"
for n in "${nodes[@]}"; do
    # Temporary tables of its own per node: in the shared /tmp, servers started at the same
    # time by other runs have been seen to remove each other's.
    mkdir -p "$dir/n$n/data" "$dir/n$n/tmp"
    touch "$dir/n$n/error.log"
    ln -s "$dir/n$n/error.log" "$state/node$n.err"
done
chown -R "$user:" "$dir"

fail() {
    echo "galera-start: $1" >&2
    for n in "${nodes[@]}"; do
        [[ -s $dir/n$n/error.log ]] || continue
        echo "--- node $n ($state/node$n.err):" >&2
        tail -n 15 "$dir/n$n/error.log" >&2
    done
    "$here/galera-stop.sh" "$state" >/dev/null 2>&1 || true
    exit 1
}
trap 'fail "a step failed (line $LINENO)"' ERR
trap 'fail "interrupted"' INT TERM

mariadb-install-db --no-defaults --user="$user" --datadir="$dir/n1/data" --tmpdir="$dir/n1/tmp" \
    --auth-root-authentication-method=normal --skip-test-db --innodb-log-file-size=16M \
    >"$state/install.log" 2>&1 ||
    { cat "$state/install.log" >&2; fail "mariadb-install-db failed"; }

client() {
    local n=$1
    shift
    mariadb --no-defaults --default-character-set=latin1 --socket="$dir/n$n/s" -uroot "$@"
}

status_of() { client "$1" -N -B -e "show global status like '$2'" 2>/dev/null | cut -f2; }

# Every node listens on four ports: clients, the cluster's own traffic (gmcast), and the
# two ways a joiner receives data (IST, and the rsync daemon of a full copy). The client
# port comes from start_on_free_port; the other three are drawn here, never one already
# given to a node, or a node would only fail when a later one tries to use it.
declare -A port_client port_gmcast port_ist port_sst
taken=" "
draw_port() {
    local p
    while :; do
        p=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
        [[ $taken != *" $p "* ]] && break
    done
    taken+="$p "
    DRAWN=$p
}

# Processes of an earlier attempt at node N (the helpers of a copy outlive a node killed
# during it): stopped, and a joiner's data folder emptied for the next attempt.
clear_node() {
    local n=$1
    kill_leftovers "$dir/n$n/"
    if ((n > 1)); then
        find "$dir/n$n/data" -mindepth 1 -delete
    fi
}

# A joiner that died once it had become a member (the client port, which a node opens only
# when it holds the copy, was taken) leaves the nodes before it without a majority of the
# cluster they had formed with it. They refuse every new member until node 1 is made the
# cluster again on its own, which has to wait until they have seen the dead one go.
regain_primary() {
    local n=$1
    for _ in $(seq 1 300); do
        [[ $(status_of 1 wsrep_cluster_size) == $((n - 1)) ]] && break
        sleep 0.1
    done
    if [[ $(status_of 1 wsrep_cluster_status) != Primary ]]; then
        client 1 -e "set global wsrep_provider_options='pc.bootstrap=YES'" || true
    fi
}

declare -A attempts
launch_node() {
    local n=$node client_port=$1 others="" m
    attempts[$n]=$((${attempts[$n]:-0} + 1))
    clear_node "$n"
    if ((n > 1 && attempts[$n] > 1)); then
        regain_primary "$n"
    fi
    taken+="$client_port "
    port_client[$n]=$client_port
    draw_port; port_gmcast[$n]=$DRAWN
    draw_port; port_ist[$n]=$DRAWN
    draw_port; port_sst[$n]=$DRAWN
    # A joiner needs one member that is up; it learns the rest from it.
    for m in "${nodes[@]}"; do
        ((m < n)) && others+="${others:+,}127.0.0.1:${port_gmcast[$m]}"
    done
    local bootstrap=()
    ((n == 1)) && bootstrap=(--wsrep-new-cluster)
    local provider="gmcast.listen_addr=tcp://127.0.0.1:${port_gmcast[$n]}"
    provider+=";ist.recv_addr=127.0.0.1:${port_ist[$n]};gcache.size=64M"
    # setsid: the node must not hold the caller's terminal or output pipes (ctest waits
    # for those to close) and must survive the end of this script. The buffers a node
    # fills at start (InnoDB's log buffer, the MyISAM and Aria caches, which hold nothing
    # of ours) are kept small: three nodes then take about 270 MB instead of 400.
    setsid mariadbd --no-defaults --user="$user" --datadir="$dir/n$n/data" \
        --socket="$dir/n$n/s" --pid-file="$dir/n$n/mariadbd.pid" \
        --log-error="$dir/n$n/error.log" --tmpdir="$dir/n$n/tmp" \
        --bind-address=127.0.0.1 --port="$client_port" --skip-name-resolve --skip-log-bin \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 \
        --innodb-buffer-pool-size=64M --innodb-log-file-size=16M \
        --innodb-log-buffer-size=2M --key-buffer-size=1M --aria-pagecache-buffer-size=8M \
        --wsrep-on=ON --wsrep-provider=/usr/lib/galera/libgalera_smm.so \
        --binlog-format=ROW --innodb-autoinc-lock-mode=2 \
        --wsrep-cluster-name=vales_prueba --wsrep-node-name="nodo$n" \
        --wsrep-cluster-address="gcomm://$others" \
        --wsrep-node-address="127.0.0.1:${port_gmcast[$n]}" \
        --wsrep-provider-options="$provider" \
        --wsrep-sst-method=rsync --wsrep-sst-receive-address="127.0.0.1:${port_sst[$n]}" \
        "${bootstrap[@]}" </dev/null >>"$dir/n$n/error.log" 2>&1 &
}
# A joiner opens its socket only once it holds the copy of the data.
node_ready() { mariadb-admin --no-defaults --socket="$dir/n$node/s" -uroot ping >/dev/null 2>&1; }

source "$here/free-port.sh"
source "$here/galera-leftovers.sh"
pids=()
for node in "${nodes[@]}"; do
    start_on_free_port launch_node node_ready || fail "node $node did not start"
    pids+=("$PID")
    printf '%s\n' "${pids[@]}" >"$state/pids"
    if ((node == 1)); then
        # With name resolution off the server ignores the root account named after the
        # machine and cannot alter it, so it is removed. The grant tables are not
        # replicated row by row: done before the others join, it reaches them in the copy.
        client 1 -N -B -e "delete from mysql.global_priv where user='root' and
                           host not in ('localhost', '127.0.0.1', '::1'); flush privileges"
    fi
done

# Every node sees three members and has caught up with the others.
cluster_formed() {
    local n size phase
    for n in "${nodes[@]}"; do
        size=$(status_of "$n" wsrep_cluster_size)
        phase=$(status_of "$n" wsrep_local_state_comment)
        why="node $n: cluster size ${size:-?}, state ${phase:-?}"
        [[ $size == 3 && $phase == Synced ]] || return 1
    done
}
all_alive() {
    local pid
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null || return 1; done
}
# Polls CHECK for up to 60 s while every node lives; WHAT names the wait in the failure.
wait_for() {
    local check=$1 what=$2
    why=
    for _ in $(seq 1 600); do
        all_alive || fail "a node stopped while waiting for $what"
        "$check" && return 0
        sleep 0.1
    done
    fail "no $what after 60 s ($why)"
}
wait_for cluster_formed "cluster of three synced nodes"

# Through node 1 alone: account changes and the schema are replicated as statements, the
# rows as InnoDB transactions. Root exists for localhost, 127.0.0.1 and ::1: each gets the
# password, or a connection through it would need none.
{
    for host in localhost 127.0.0.1 ::1; do
        echo "alter user 'root'@'$host' identified by '$root_password';"
    done
    echo "create database test character set latin1 collate latin1_swedish_ci;"
} | client 1
# The client then needs the password: given through the environment, not the command line.
export MYSQL_PWD=$root_password
loaded=(schema.sql demo_comun.sql demo_test.sql objetos_adicionales.sql)
for file in "${loaded[@]}"; do
    [[ -f $sql_dir/$file ]] || continue
    client 1 test <"$sql_dir/$file" || fail "loading sql/$file through node 1 failed"
done

# What node 1 holds: every table's checksum and the other objects of the database.
# wsrep_sync_wait makes a node apply what the cluster committed before it answers.
contents() {
    local tables
    tables=$(client 1 -N -B -e "select group_concat(concat('test.', table_name)) from
             information_schema.tables where table_schema='test' and table_type='BASE TABLE'")
    client "$1" -N -B -e "set session wsrep_sync_wait=1;
        select count(*) from information_schema.routines where routine_schema='test';
        select count(*) from information_schema.views where table_schema='test';
        select count(*) from information_schema.triggers where trigger_schema='test';
        checksum table $tables" 2>/dev/null
}
data_everywhere() {
    local reference n
    reference=$(contents 1)
    for n in 2 3; do
        [[ $(contents "$n") == "$reference" ]] || { why="node $n differs from node 1"; return 1; }
    done
}
wait_for data_everywhere "copy of the loaded data on every node"

addresses=()
for n in "${nodes[@]}"; do addresses+=("127.0.0.1:${port_client[$n]}"); done
printf '%s\n' "${addresses[@]}" >"$state/addresses"
trap - ERR INT TERM
echo "Galera cluster ready at ${addresses[*]} (pids ${pids[*]}, folder $dir)"
