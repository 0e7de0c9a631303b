#!/usr/bin/env bash
# End-to-end on a company of its own, unlike the demo in every code: company 225 (database
# tarsin, made afresh from sql/schema.sql and prepared by the administrator's step of the
# program) with products and formulas of full width,
# warehouses 105 and 999, operators 101, 250, 998, a user whose name and password hold an
# "ñ", and names with accents, quotes and a "¿". The real program in a tmux pane logs in,
# types a voucher on-line, downloads the master data, types a voucher off-line with the
# help lists, refuses to send it to another company (the demo company 007) and sends it
# once connected to its own. Checked: names on the screen, every voucher row, movement and
# stock on the server, and the store's marks. Database tarsin gets its demo data back.
# (Company 225 is the one the program maps to database tarsin, which no other test uses.)
# Usage: segunda_empresa_tmux.sh PATH_TO_VALES   (VALES_TEST_MARIADB_DIR names the server)
set -uo pipefail
program=$(realpath "$1")
state=${VALES_TEST_MARIADB_DIR:?run through ctest}
address=$(cat "$state/address")
sql_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../sql" && pwd)
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-segunda-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; restore_tarsin; restore_demo; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/servidor_tmux.sh"
source "$(dirname "${BASH_SOURCE[0]}")/vales_demo_tmux.sh"

client() {
    mariadb --no-defaults --default-character-set=latin1 --socket="$socket_db" -uroot \
        -p58206137 -N -B "$@"
}
# Statements on the company's database; its texts come back in UTF-8.
sql_t() { client tarsin -e "$1" | iconv -f cp1252 -t utf-8; }
local_sql() { sqlite3 "$work/datos/vales.mdb" "$1"; }
restore_tarsin() {
    client -e "drop database if exists tarsin;
               create database tarsin character set latin1 collate latin1_swedish_ci"
    cat "$sql_dir/schema.sql" "$sql_dir/objetos_adicionales.sql" "$sql_dir/demo_comun.sql" \
        "$sql_dir/demo_tarsin.sql" |
        client tarsin
}

client -e "drop database if exists tarsin;
           create database tarsin character set latin1 collate latin1_swedish_ci" ||
    { echo "segunda_empresa_tmux: cannot reach the test server"; exit 1; }
client tarsin <"$sql_dir/schema.sql"
iconv -f utf-8 -t cp1252 <<'SQL' | client tarsin
insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line,
  l_full_accesos, acc_ingreso, acc_ver_productos) values
('peñaloza', 'Operador nocturno', password('ñandu2026'), 1, 1, 0, 1, 1);
insert into nombre_accesos (cod_acceso, desc_acceso, l_activo) values
('acc_ingreso', 'Ingreso', 1), ('acc_ver_productos', 'Ver', 1);
insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales, l_pedidos) values
(105, 'Bodega Norte – Antofagasta', 1, 1, 0), (999, 'Almacén Ñuñoa', 1, 1, 1);
insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk) values
('987654321', 'Vaciado en molde de precisión con vibrado y curado', 'HRS', 0),
('912345678', 'Secado en cámara', 'M3', 0),
('900000999', 'Inspección y rotulación ¿OK?', 'UN', 0),
('ZR0000001', 'Arena de zircón «premium»', 'TON', 1),
('CEM-00042', 'Cemento aluminoso 70%', 'KG', 0);
insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, l_activo,
  l_vigente, l_ctrl_stk, codi_form_rel) values
('ZR4500XYZ', 'A1B', 'Bloque zirconia AZS 41% fundido, colado al vacío «ÑANDÚ»',
 'Colado vacío línea Ñ', 'UN', 1, 1, 1, '---');
insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values
('ZR4500XYZA1B', '987654321', 'I', '', 1.5), ('ZR4500XYZA1B', '912345678', 'I', '', 2),
('ZR4500XYZA1B', '900000999', 'I', '', 1), ('ZR4500XYZA1B', 'ZR0000001', 'I', '', 0.125),
('ZR4500XYZA1B', 'CEM-00042', 'I', '', 3.33333);
insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values
('987654321', 'V01   ', 'Vibrado estándar', 0), ('987654321', 'V01NOC', 'Vibrado estándar', 2.75),
('987654321', 'V02   ', 'Vibrado con núcleo de acero', 0),
('987654321', 'V02NOC', 'Vibrado con núcleo de acero', 4),
('912345678', 'S99   ', 'Secado lento 48 h', 0), ('912345678', 'S99DIA', 'Secado lento 48 h', 1),
('900000999', 'Q1    ', 'Control visual', 0), ('900000999', 'Q1 NOC', 'Control visual', 0.5);
insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) values
(101, 'Ñancupil Huenchumilla, María José', 'NOC', 1, '23456789', 'K'),
(998, 'Carlos O''Higgins', 'DIA', 1, '5432109', '1'),
(250, 'Zoë Ütz', 'NOC', 1, '11111111', '1');
insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) values
(105, 'I', 'ZR0000001', '', 1000), (999, 'I', 'ZR0000001', '', 5);
insert into paramet (id, num_vales, fech_cst) values (1, 99999990, '2026-11-30');
SQL
# The administrator's step gives the new database the register of saved vouchers (the
# other databases have it already: they are left as they are).
same "administrator step" "vales: empresa 225: base de datos tarsin preparada" \
    "$("$program" --servidor-local "$address" --preparar-servidor | grep 'empresa 225')"
save_demo  # company 007 is written only if the refusal below fails
antes_velmo=$(sql "select num_vales from paramet")

start_program
check "main menu" wait_for "Conectar con Servidor"
login 225 peñaloza ñandu2026
check "company title" wait_for "Tarsin refractarios S.A."

# On-line: codes typed in lower case, three activities with their especificaciones.
keys i
check "on-line header" wait_for "< Ingreso de Vales ON-LINE >"
keys Enter 105 Enter zr4500xyz Enter a1b Enter 12,5 Enter 0 Enter
check "product name, cut to 50" wait_for "ZR4500XYZ Bloque zirconia AZS 41% fundido, colado al vacío "
check "formula name" wait_for "A1B       Colado vacío línea Ñ"
check "activities, cut to 35" wait_for "Vaciado en molde de precisión con v"
check "activity with ¿" wait_for "Inspección y rotulación ¿OK?"
keys Enter
check "especificaciones in name order" wait_for "Vibrado con núcleo de acero"
keys Enter 101 Enter 2200 Enter 0630 Enter
check "operator name, cut to 20" wait_for "Ñancupil Huenchumill Vibrado con núcleo de acer"
keys Down Enter Enter 250 Enter 0630 Enter 0700 Enter
check "operator with ë and Ü" wait_for "Zoë Ütz"
keys Down Enter Enter 998 Enter 0700 Enter 0701 Enter
check "operator with an apostrophe" wait_for "Carlos O'Higgins     Control visual"
keys F8
check "print offer" wait_for "Desea imprimir?"
keys n
check "next voucher keeps the warehouse" wait_for "Bodega: 105"
escape
check "back at the main menu" wait_for "Conectar con Servidor"

same "on-line voucher rows" "$(cat <<'ROWS'
ZR4500XYZ|A1B|12.5000000|0.0000000|105|987654321||I|1.50000|101|V02|4.0000|1
ZR4500XYZ|A1B|12.5000000|0.0000000|105|912345678||I|2.00000|250|S99|0.0000|1
ZR4500XYZ|A1B|12.5000000|0.0000000|105|900000999||I|1.00000|998|Q1|0.0000|1
ZR4500XYZ|A1B|12.5000000|0.0000000|105|ZR0000001||I|0.12500|0||0.0000|1
ZR4500XYZ|A1B|12.5000000|0.0000000|105|CEM-00042||I|3.33333|0||0.0000|1
ROWS
)" "$(voucher_rows 99999991 sql_t)"
same "on-line movements" "$(cat <<'ROWS'
7|P|ZR4500XYZ|A1B|12.5000000|105|peñaloza
8|I|ZR0000001||-1.5625000|105|peñaloza
8|I|CEM-00042||-41.6666250|105|peñaloza
ROWS
)" "$(sql_t "select concat_ws('|', tipo_doc, tipo_prd, codi_prod, codi_form, cantidad,
              numero_bod, usuario) from mov_stock where nume_doc=99999991 order by id")"

# The master data into the store, then a voucher typed off-line with the help lists.
download_all
entry 4
check "off-line header" wait_for "< Ingreso de Vales OFF-LINE >"
keys Enter 999 Enter F1
check "product help" wait_for "<Productos>"
keys B L O Enter
check "product found" wait_for "ZR4500XYZ A1B Bloque zirconia AZS 41% fundido, colado al vacío "
keys Left
check "product typed back" wait_for "Fórmula : A1B       Colado vacío línea Ñ"
keys 3 Enter 3 Enter
check "activities from the store" wait_for "Inspección y rotulación ¿OK?"
keys Enter Down Enter F1
check "operator help, by name" wait_for "23456789-K Ñancupil Huenchumilla, María José"
keys Down Down Enter 2200 Enter 0600 Enter
keys Down Enter Enter 250 Enter 0600 Enter 0700 Enter
keys Down Enter Enter 998 Enter 0700 Enter 0701 Enter
check "every item edited" wait_for "Carlos O'Higgins"
keys F8
check "stored" wait_for "Vale de producción grabado correctamente"
keys x
escape
check "back at the main menu" wait_for "Conectar con Servidor"

# Connected to another company, the voucher is not sent there.
keys d
check "logged out" wait_for "Desconectado"
login_demo
keys e
check "batch confirmation" wait_for "Confirma grabar vales pendientes en servidor"
keys S
check "refused for company 007" wait_for \
    "Los vales de la base local son de la empresa 225: conéctese a esa empresa para enviarlos"
keys x
same "nothing written in company 007" "$antes_velmo" "$(sql "select num_vales from paramet")"
same "still pending" "1|1" "$(local_sql "select n_interno, c_estado from vales_cab")"

keys d
check "logged out of 007" wait_for "Desconectado"
login 225 peñaloza ñandu2026
keys e
check "batch confirmation in 225" wait_for "Confirma grabar vales pendientes en servidor"
keys S
check "batch summary" wait_for "De 1 vales 1 fueron grabados correctamente"
keys x
escape
keys s
sleep 0.5

same "off-line voucher rows" "$(cat <<'ROWS'
ZR4500XYZ|A1B|3.0000000|3.0000000|999|987654321||I|1.50000|101|V01|2.7500|1
ZR4500XYZ|A1B|3.0000000|3.0000000|999|912345678||I|2.00000|250|S99|0.0000|1
ZR4500XYZ|A1B|3.0000000|3.0000000|999|900000999||I|1.00000|998|Q1|0.0000|1
ZR4500XYZ|A1B|3.0000000|3.0000000|999|ZR0000001||I|0.12500|0||0.0000|1
ZR4500XYZ|A1B|3.0000000|3.0000000|999|CEM-00042||I|3.33333|0||0.0000|1
ROWS
)" "$(voucher_rows 99999992 sql_t)"
same "stock after both vouchers" "$(cat <<'ROWS'
105|I|CEM-00042||-41.6666250
105|I|ZR0000001||998.4375000
105|P|ZR4500XYZ|A1B|12.5000000
999|I|CEM-00042||-9.9999900
999|I|ZR0000001||4.6250000
999|P|ZR4500XYZ|A1B|3.0000000
ROWS
)" "$(sql_t "select concat_ws('|', numero_bod, tipo_prd, codi_prod, codi_form, stock)
              from stock_bodegas order by numero_bod, tipo_prd, codi_prod")"
same "marked sent" "1|2" "$(local_sql "select n_interno, c_estado from vales_cab")"
same "the voucher's identity registered with its folio" "99999992" \
    "$(sql_t "select nume_folio from vales_identidad where id_vale='$(local_sql "select id_vale
              from vales_cab where n_interno=1")'")"
same "the store's company" "225" "$(local_sql "select cod_empresa from empresa")"

echo "segunda_empresa_tmux: $passes passed, $failures failed"
exit $((failures > 0))
