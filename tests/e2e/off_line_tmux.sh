#!/usr/bin/env bash
# End-to-end: the real program in a tmux pane downloads the demo company's master data,
# logs out, and with no server types two vouchers off-line (the first with a split item);
# then, logged in again, sends the first from the list of off-line entries (F8, "N" to the
# print offer) and the second with the batch upload. Checked: the rows in the off-line
# store, every voucher row on the server, the record of where each voucher came from, and
# both local vouchers marked sent. The demo company's data is put back afterwards.
# Usage: off_line_tmux.sh PATH_TO_VALES   (VALES_TEST_MARIADB_DIR names the running server)
set -uo pipefail
program=$(realpath "$1")
state=${VALES_TEST_MARIADB_DIR:?run through ctest}
address=$(cat "$state/address")
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-off-line-$$"
local_sql() { sqlite3 "$work/datos/vales.mdb" "$1"; }
trap 'tmux -L "$socket" kill-server 2>/dev/null; restore_demo; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/servidor_tmux.sh"
source "$(dirname "${BASH_SOURCE[0]}")/vales_demo_tmux.sh"

save_demo || { echo "off_line_tmux: cannot reach the test server"; exit 1; }
antes=$(sql "select num_vales from paramet")

start_program
login_demo

# The master data into the store the program made at start.
download_all
keys d
check "logged out" wait_for "Desconectado"

entry 4
check "off-line header form" wait_for "< Ingreso de Vales OFF-LINE >"
keys Enter 1 Enter L01AA0110 Enter 001 Enter 10 Enter 0 Enter
check "activities from the store" wait_for "Empaque y paletizado"
keys Enter
check "especificaciones from the store" wait_for "Pieza compleja"
keys Down Enter 1 Enter 0800 Enter 1200 Enter
check "first item edited" wait_for "Pedro Muñoz Soto"
keys Down F2
check "split form" wait_for "Traspasar a nuevo item cantidad realizada:"
keys 4 Enter
check "split made" wait_for "4,00"
keys Down Enter Enter 6 Enter 1300 Enter 1400 Enter
keys Down Enter Enter 6 Enter 1400 Enter 1500 Enter
keys Down Enter Enter 3 Enter 1500 Enter 1530 Enter
check "every item edited" wait_for "Ana María Peña"
keys F8
check "stored" wait_for "Vale de producción grabado correctamente"
keys x
check "next voucher keeps date and warehouse" wait_for "Bodega:   1"
keys Enter Enter L01AA0110 Enter 002 Enter 5 Enter 0 Enter
check "second voucher's activities" wait_for "Prensado"
keys Enter Enter 1 Enter 0800 Enter 0900 Enter
keys Down Enter Enter 6 Enter 0900 Enter 1000 Enter
keys F8
check "second stored" wait_for "Vale de producción grabado correctamente"
keys x
escape
check "back at the main menu" wait_for "Conectar con Servidor"

same "the store's vouchers, pending" "1|L01AA0110|001|1|10|0|1
2|L01AA0110|002|1|5|0|1" \
    "$(local_sql "select n_interno, codi_prod, codi_form, num_bodega, cantidad, malas, c_estado
                  from vales_cab order by n_interno")"
same "the store's items, the split copy before its source" "1|900000001|1|A02|08:00|12:00|10
1|900000003|6|C01|13:00|14:00|4
1|900000003|6|C01|14:00|15:00|6
1|900000004|3|D01|15:00|15:30|10
2|900000002|1|B02|08:00|09:00|5
2|900000003|6|C01|09:00|10:00|5" \
    "$(local_sql "select n_interno, codi_actividad, codi_oper, codi_especif, hora_ini,
                  hora_fin, cantidad from vales_itm order by rowid")"

login_demo
entry 5
check "the list of off-line entries" wait_for "[F8]Grabar en servidor"
check "both vouchers listed" wait_for "L01AA0110 002"
keys F8
check "send confirmation" wait_for "Grabar en servidor"
keys S
check "print offer" wait_for "Desea imprimir?"
keys n
sleep 0.5
check "the sent voucher left the list" bash -c "! tmux -L '$socket' capture-pane -p -t e2e |
    grep -q 'L01AA0110 001'"
escape
keys e
check "batch confirmation" wait_for "Confirma grabar vales pendientes en servidor"
keys S
check "batch summary" wait_for "De 1 vales 1 fueron grabados correctamente"
keys x
escape
keys s
sleep 0.5

same "two numbers taken" "$((antes + 2))" "$(sql "select num_vales from paramet")"
same "where each voucher came from" "1|$((antes + 1))
2|$((antes + 2))" "$(sql "select concat_ws('|', n_interno, nume_folio) from vales_identidad
                          where nume_folio>$antes order by n_interno")"
same "the first voucher's rows" "$(cat <<ROWS
L01AA0110|001|10.0000000|0.0000000|1|900000001||I|1.00000|1|A02|3.0000|1
L01AA0110|001|4.0000000|0.0000000|1|900000003||I|1.00000|6|C01|0.5000|1
L01AA0110|001|6.0000000|0.0000000|1|900000003||I|1.00000|6|C01|0.5000|1
L01AA0110|001|10.0000000|0.0000000|1|900000004||I|0.02000|3|D01|0.1000|1
L01AA0110|001|10.0000000|0.0000000|1|100000001||I|2.50000|0||0.0000|1
L01AA0110|001|10.0000000|0.0000000|1|100000002||I|1.20000|0||0.0000|1
L01AA0110|001|10.0000000|0.0000000|1|100000004||I|0.30000|0||0.0000|1
ROWS
)" "$(voucher_rows $((antes + 1)))"
same "the second voucher's rows" "$(cat <<ROWS
L01AA0110|002|5.0000000|0.0000000|1|900000002||I|1.00000|1|B02|0.0000|1
L01AA0110|002|5.0000000|0.0000000|1|900000003||I|1.00000|6|C01|0.5000|1
L01AA0110|002|5.0000000|0.0000000|1|100000003||I|1.80000|0||0.0000|1
L01AA0110|002|5.0000000|0.0000000|1|100000001||I|1.00000|0||0.0000|1
ROWS
)" "$(voucher_rows $((antes + 2)))"
same "both marked sent in the store" "1|2
2|2" "$(local_sql "select n_interno, c_estado from vales_cab order by n_interno")"

echo "off_line_tmux: $passes passed, $failures failed"
exit $((failures > 0))
