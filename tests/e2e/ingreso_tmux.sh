#!/usr/bin/env bash
# End-to-end: the real program in a tmux pane logs in as the README's demo user, types one
# complete on-line voucher (header, the three activities of the standard brick with
# especificación, operator and times, one split, F8, "N" to the print offer) and leaves;
# then the rows on the server are checked: the counter, every voucher row, every stock
# movement and the stock changes. The demo company's data is put back afterwards.
# Usage: ingreso_tmux.sh PATH_TO_VALES   (VALES_TEST_MARIADB_DIR names the running server)
set -uo pipefail
program=$(realpath "$1")
state=${VALES_TEST_MARIADB_DIR:?run through ctest}
address=$(cat "$state/address")
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-ingreso-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; restore_demo; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/servidor_tmux.sh"
source "$(dirname "${BASH_SOURCE[0]}")/vales_demo_tmux.sh"

save_demo || { echo "ingreso_tmux: cannot reach the test server"; exit 1; }
antes=$(sql "select num_vales from paramet")

start_program
login_demo

keys i
check "header form" wait_for "< Ingreso de Vales ON-LINE >"
keys Enter 1 Enter L01AA0110 Enter 001 Enter 10 Enter 0 Enter
check "activity list" wait_for "Empaque y paletizado"
check "key line" wait_for "[Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]"
# Moldeo a mano: "Pieza compleja" (second), operator 1, 08:00-12:00.
keys Enter
check "especificaciones" wait_for "Pieza compleja"
keys Down Enter
check "operator form" wait_for "Hora de Termino:"
keys 1 Enter 0800 Enter 1200 Enter
check "first item edited" wait_for "Pedro Muñoz Soto"
# Cocción en horno túnel: operator 6; then split: 4 go to a new item above it.
keys Down Enter
keys Enter 6 Enter 1300 Enter 1500 Enter
check "second item edited" wait_for "Ñuble Cárcamo"
keys F2
check "split form" wait_for "Traspasar a nuevo item cantidad realizada:"
keys 4 Enter
check "split made" wait_for "4,00"
# Empaque y paletizado, now the fourth line: operator 3.
keys Down Down Down Enter
keys Enter 3 Enter 1500 Enter 1530 Enter
check "third activity edited" wait_for "Ana María Peña"
keys F8
check "print offer" wait_for "Desea imprimir?"
keys n
check "next voucher keeps date and warehouse" wait_for "Bodega:   1"
escape
check "back at the main menu" wait_for "Conectar con Servidor"
escape
keys s
sleep 0.5

numero=$(sql "select num_vales from paramet")
same "one number taken" "$((antes + 1))" "$numero"
same "voucher rows" "$(cat <<ROWS
L01AA0110|001|10.0000000|0.0000000|1|900000001||I|1.00000|1|A02|3.0000|1
L01AA0110|001|4.0000000|0.0000000|1|900000003||I|1.00000|6|C01|0.5000|1
L01AA0110|001|6.0000000|0.0000000|1|900000003||I|1.00000|6|C01|0.5000|1
L01AA0110|001|10.0000000|0.0000000|1|900000004||I|0.02000|3|D01|0.1000|1
L01AA0110|001|10.0000000|0.0000000|1|100000001||I|2.50000|0||0.0000|1
L01AA0110|001|10.0000000|0.0000000|1|100000002||I|1.20000|0||0.0000|1
L01AA0110|001|10.0000000|0.0000000|1|100000004||I|0.30000|0||0.0000|1
ROWS
)" "$(voucher_rows "$numero")"
same "stock movements" "$(cat <<ROWS
7|P|L01AA0110|001|10.0000000|1|0|operador
8|I|100000001||-25.0000000|1|0|operador
8|I|100000002||-12.0000000|1|0|operador
8|I|100000004||-3.0000000|1|0|operador
ROWS
)" "$(sql "select concat_ws('|', tipo_doc, tipo_prd, codi_prod, codi_form, cantidad, numero_bod,
            l_anular, usuario) from mov_stock where nume_doc=$numero order by id")"
same "one date on every row" "$(date +%Y-%m-%d)" \
    "$(sql "select distinct fecha_prod from vales where nume_folio=$numero")"
same "stock after the voucher" "$(cat <<ROWS
I|100000001||24975.0000000
I|100000002||7988.0000000
I|100000004||-3.0000000
P|L01AA0110|001|1530.0000000
ROWS
)" "$(sql "select concat_ws('|', tipo_prd, codi_prod, codi_form, stock) from stock_bodegas
           where numero_bod=1 and codi_prod in ('100000001','100000002','100000004','L01AA0110')
           and (tipo_prd='I' or codi_form='001') order by tipo_prd, codi_prod")"

echo "ingreso_tmux: $passes passed, $failures failed"
exit $((failures > 0))
