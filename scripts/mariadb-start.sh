#!/usr/bin/env bash
# Starts a private MariaDB server for the tests or a demo, on a free loopback port, with
# the company databases loaded (schema and demo data).
#
#   scripts/mariadb-start.sh STATE_DIR [--bare]
#
# STATE_DIR receives the data folder, the error log and these small files:
#   address   "127.0.0.1:PORT", the address to give the program (VALES_SERVIDOR_LOCAL=...)
#   pid       the server's process id (scripts/mariadb-stop.sh STATE_DIR stops it)
#   sockdir   a short folder under /tmp that holds the server's Unix socket
#   scripts   the folder of these scripts (a test that needs a server of its own uses it)
# --bare starts the server with the administrator password set and no databases.
# A server left over in STATE_DIR by an interrupted run is stopped first; the folder is
# then wiped, so every start begins from the same data.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sql_dir=$(cd "$here/../sql" && pwd)
state=${1:?usage: mariadb-start.sh STATE_DIR [--bare]}
bare=${2:-}
root_password=58206137   # the administrator password compiled into the program
databases=(velmo tarsin test)

"$here/mariadb-stop.sh" "$state" >/dev/null 2>&1 || true
rm -rf "$state"
mkdir -p "$state"
state=$(cd "$state" && pwd)
datadir=$state/data
# The socket path must stay under 108 bytes, which a build folder may not.
sockdir=$(mktemp -d /tmp/vmdb.XXXXXX)
echo "$sockdir" >"$state/sockdir"
socket=$sockdir/s
me=$(id -un)

# Temporary tables of its own: in the shared /tmp, servers started at the same time by other
# runs have been seen to remove each other's.
tmpdir=$state/tmp
mkdir -p "$tmpdir"
mariadb-install-db --no-defaults --user="$me" --datadir="$datadir" --tmpdir="$tmpdir" \
    --auth-root-authentication-method=normal --skip-test-db --innodb-log-file-size=16M \
    >"$state/install.log" 2>&1 || { cat "$state/install.log" >&2; exit 1; }

client() { mariadb --no-defaults --default-character-set=latin1 --socket="$socket" -uroot "$@"; }

source "$here/free-port.sh"
launch_server() {
    # setsid: the server must not hold the caller's terminal or output pipes (ctest waits
    # for those to close) and must survive the end of this script.
    setsid mariadbd --no-defaults --user="$me" --datadir="$datadir" --socket="$socket" \
        --pid-file="$state/mariadbd.pid" --log-error="$state/error.log" --tmpdir="$tmpdir" \
        --bind-address=127.0.0.1 --port="$1" --skip-name-resolve --skip-log-bin \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 \
        --innodb-buffer-pool-size=64M </dev/null >>"$state/error.log" 2>&1 &
}
server_ready() { mariadb-admin --no-defaults --socket="$socket" -uroot ping >/dev/null 2>&1; }
if ! start_on_free_port launch_server server_ready; then
    echo "mariadb-start: the server did not start; see $state/error.log" >&2
    tail -n 20 "$state/error.log" >&2 || true
    exit 1
fi
port=$PORT
pid=$PID
echo "$pid" >"$state/pid"

if [[ $bare != --bare ]]; then
    for db in "${databases[@]}"; do
        client -e "create database $db character set latin1 collate latin1_swedish_ci"
        client "$db" <"$sql_dir/schema.sql"
        client "$db" <"$sql_dir/objetos_adicionales.sql"
        client "$db" <"$sql_dir/demo_comun.sql"
        client "$db" <"$sql_dir/demo_$db.sql"
    done
fi

# Root exists for several hosts (localhost, 127.0.0.1, ::1, the machine name): each one
# gets the password, or a connection through it would need none. With name resolution
# off the server ignores the account named after the machine and cannot alter it, so that
# one is removed instead.
hosts=$(client -N -B -e "select host from mysql.user where user='root'")
{
    while IFS= read -r host; do
        case $host in
        localhost | 127.0.0.1 | ::1)
            echo "alter user 'root'@'$host' identified by '$root_password';" ;;
        *)
            echo "delete from mysql.global_priv where user='root' and host='$host';" ;;
        esac
    done <<<"$hosts"
    echo "flush privileges;"
} | client

echo "$here" >"$state/scripts"
echo "127.0.0.1:$port" >"$state/address"
echo "MariaDB ready at 127.0.0.1:$port (pid $pid, state in $state)"
