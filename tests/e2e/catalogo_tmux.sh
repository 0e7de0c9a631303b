#!/usr/bin/env bash
# End-to-end: the real program in a tmux pane logs in as the README's demo user, opens the
# on-line entry and, in the product field, the product catalogue with F1: a search, the
# stock panel (F2), the order switch (F5), the stock-control switch (Alt+F12, refused: the
# demo user may not change products),
# and Left on a product, which the header then names with its formula. Nothing is stored.
# Usage: catalogo_tmux.sh PATH_TO_VALES   (VALES_TEST_MARIADB_DIR names the running server)
set -uo pipefail
program=$(realpath "$1")
state=${VALES_TEST_MARIADB_DIR:?run through ctest}
address=$(cat "$state/address")
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-catalogo-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/servidor_tmux.sh"

start_program
login_demo

keys i
check "header form" wait_for "< Ingreso de Vales ON-LINE >"
keys Enter 1 Enter F1
check "the catalogue" wait_for "<Productos>"
check "its key lines" wait_for "[←]Seleccionar  [Enter]Buscar  [INS]Agregar  [Control+Enter]Modificar"
keys l a d Enter
check "prefix search" wait_for "L01AA0110 004 Ladrillo refractario 'Súper' 230x114x65"
check "count" wait_for "(5)"
keys Down F2
check "stock panel of L01AA0110 001" wait_for "Bodega Cent    1.520,00"
keys F2 F5
check "code order marker" wait_for "║──↓↓───"
keys F5 M-F12
check "stock control needs the right to change products" wait_for "- Acceso no permitido -"
keys n Down Left
check "product typed back and named" wait_for "Producto: L01AA0110 Ladrillo refractario 'Súper' 230x114x65"
check "formula typed back and named" wait_for "Fórmula : 002       Alta alúmina"
escape
check "back at the main menu" wait_for "Conectar con Servidor"
escape
keys s
sleep 0.5

echo "catalogo_tmux: $passes passed, $failures failed"
exit $((failures > 0))
