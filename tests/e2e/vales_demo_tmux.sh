# Sourced by the end-to-end tests that write vouchers into the demo company (database velmo
# of the private test server): statements on its database as root, the demo data saved
# before the test and put back after it (the voucher counter, the stock, and the voucher
# rows, stock movements and origins written since), the rows of a voucher and row
# comparisons.
# The caller sets $state (the server's state folder) and $socket before sourcing this file.

socket_db="$(cat "$state/sockdir")/s"
sql() { mariadb --no-defaults --default-character-set=latin1 --socket="$socket_db" -uroot \
    -p58206137 -N -B velmo -e "$1"; }

# False when the test server cannot be reached.
save_demo() {
    sql "drop table if exists e2e_stock, e2e_paramet;
         create table e2e_stock as select * from stock_bodegas;
         create table e2e_paramet as select num_vales from paramet"
}
restore_demo() {
    sql "delete from vales_identidad where nume_folio>(select num_vales from e2e_paramet);
         delete from vales where nume_folio>(select num_vales from e2e_paramet);
         delete from mov_stock where nume_doc>(select num_vales from e2e_paramet)
             and tipo_doc in ('7','8');
         delete from stock_bodegas; insert into stock_bodegas select * from e2e_stock;
         update paramet set num_vales=(select num_vales from e2e_paramet);
         drop table if exists e2e_stock, e2e_paramet" >/dev/null 2>&1
}

same() {  # same DESCRIPTION EXPECTED ACTUAL
    if [[ $2 == "$3" ]]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAILED: %s\n--- expected:\n%s\n--- got:\n%s\n' "$1" "$2" "$3"
    fi
}
# The rows of voucher N on the server, one line each in the order written; the statement
# goes to the demo company, or through the function named second.
voucher_rows() {
    "${2:-sql}" "select concat_ws('|', codi_prod, codi_form, cantidad, malas, numero_bod, codi_insu,
             form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un, c_estado)
         from vales where nume_folio=$1 order by id"
}
