#!/usr/bin/env bash
# Starts a private CUPS print server for the tests, on a free loopback port, with two
# queues that write every job they receive to a file:
#   Prueba   (the server's default) -> SPOOL/salida/prueba.pdf
#   Oficina                         -> SPOOL/salida/oficina.pdf
#
#   scripts/cups-start.sh STATE_DIR
#
# STATE_DIR receives these small files:
#   address   "127.0.0.1:PORT", for CUPS_SERVER
#   pid       the daemon's process id (scripts/cups-stop.sh STATE_DIR stops it)
#   dir       the daemon's own folder under /tmp (configuration, spool, logs, salida/)
#   motivo    only when the daemon could not start here: why (the tests then skip)
# The queues' filters run as the unprivileged "lp" user when the daemon runs as root, so
# the daemon's folder lives under /tmp, which every user can reach, rather than in the
# build folder.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${1:?usage: cups-start.sh STATE_DIR}

"$here/cups-stop.sh" "$state" >/dev/null 2>&1 || true
rm -rf "$state"
mkdir -p "$state"
state=$(cd "$state" && pwd)

# The daemon cannot start here: say why and leave the tests to skip.
cannot_start() {
    echo "$1" >"$state/motivo"
    echo "cups-start: $1" >&2
    exit 0
}

cupsd_bin=$(command -v cupsd || true)
[[ -n $cupsd_bin ]] || cupsd_bin=/usr/sbin/cupsd
[[ -x $cupsd_bin ]] || cannot_start "no está instalado cupsd (paquete cups-daemon)"
command -v lpadmin >/dev/null || cannot_start "no está instalado lpadmin (paquete cups-client)"
# The file queues pass jobs through this filter unchanged.
[[ -x /usr/lib/cups/filter/gziptoany ]] ||
    cannot_start "falta el filtro gziptoany de CUPS (paquete cups-core-drivers)"

dir=$(mktemp -d /tmp/vcups.XXXXXX)
chmod 755 "$dir"
echo "$dir" >"$state/dir"
mkdir -p "$dir"/{spool,state,cache,tmp,log,salida}

cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
StateDir $dir/state
CacheDir $dir/cache
TempDir $dir/tmp
DataDir /usr/share/cups
ServerBin /usr/lib/cups
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
FileDevice Yes
SystemGroup root
CONF

# A PPD whose only filter hands PDF through unchanged (a raw queue writes nothing to a
# file device on CUPS 2.4).
cat >"$dir/prueba.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PRUEBA.PPD"
*Manufacturer: "Pruebas"
*Product: "(Prueba)"
*ModelName: "Archivo PDF"
*ShortNickName: "Archivo PDF"
*NickName: "Archivo PDF"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 gziptoany"
*OpenUI *PageSize: PickOne
*DefaultPageSize: Letter
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: Letter
*ImageableArea Letter/Letter: "0 0 612 792"
*DefaultPaperDimension: Letter
*PaperDimension Letter/Letter: "612 792"
PPD

# Where AppArmor enforces Debian's profile for /usr/sbin/cupsd, the daemon may only use the
# system's own folders; a copy of the program elsewhere is not bound by that profile.
if grep -qs "^$cupsd_bin (enforce)" /sys/kernel/security/apparmor/profiles; then
    cp "$cupsd_bin" "$dir/cupsd" && cupsd_bin=$dir/cupsd
fi

source "$here/free-port.sh"
launch_daemon() {
    cat >"$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$1
LogLevel info
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultPolicy abierta
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy abierta>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    setsid "$cupsd_bin" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" \
        </dev/null >>"$dir/log/cupsd.out" 2>&1 &
}
daemon_ready() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
if ! start_on_free_port launch_daemon daemon_ready; then
    cannot_start "cupsd no arrancó: $(tail -n 3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
fi
port=$PORT
pid=$PID
echo "$pid" >"$state/pid"

server=127.0.0.1:$port
# The daemon is up: a queue it refuses is a failure of the set-up, not a reason to skip.
queues_failed() {
    echo "cups-start: the queues could not be set up:" >&2
    cat "$dir/log/lpadmin.log" >&2
    "$here/cups-stop.sh" "$state"
    exit 1
}
for queue in Prueba Oficina; do
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$queue")
    lpadmin -h "$server" -p "$queue" -E -v "file://$dir/salida/$lower.pdf" -P "$dir/prueba.ppd" \
        2>>"$dir/log/lpadmin.log" || queues_failed
done
lpadmin -h "$server" -d Prueba 2>>"$dir/log/lpadmin.log" || queues_failed

echo "$server" >"$state/address"
echo "CUPS ready at $server (pid $pid, folder $dir)"
