#!/usr/bin/env bash
# Installs what is needed, builds, starts a private demo MariaDB server with sample data
# on a loopback port, and runs the program against it. The server stops when the program
# ends. Log in with company 007, user "operador", password "vales123".
#
#   scripts/run-demo.sh             the program against the demo server
#   scripts/run-demo.sh --servidor  the demo server alone (for an installed program): prints
#                                   its address and how to stop it, and leaves it running
#
# The demo has a build folder of its own (build-demo/): the tests' build (build/) uses other
# flags, and sharing one folder would rebuild everything each time either is run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-demo
state=$build/demo-mariadb

solo_servidor=0
case "${1:-}" in
    "") ;;
    --servidor) solo_servidor=1 ;;
    *)
        echo "uso: $0 [--servidor]" >&2
        exit 2
        ;;
esac

if [[ $(id -u) == 0 ]]; then
    bash scripts/install-deps.sh
fi

if [[ $solo_servidor == 1 ]]; then
    mkdir -p "$build"
    echo "Iniciando servidor de demostración..."
    bash scripts/mariadb-start.sh "$state" >/dev/null
    address=$(cat "$state/address")
    echo "Servidor de demostración en $address (datos en $state)."
    echo "Para usarlo:    vales --servidor-local $address --servidor-remoto $address"
    echo "Para detenerlo: bash $root/scripts/mariadb-stop.sh $state"
    exit 0
fi

if [[ ! -x $build/src/vales ]]; then
    echo "Compilando el programa en $build (la primera vez tarda unos minutos)..."
fi
cmake -S . -B "$build" -G "Unix Makefiles" >/dev/null
cmake --build "$build" -j"$(nproc)" --target vales

echo "Iniciando servidor de demostración..."
bash scripts/mariadb-start.sh "$state" >/dev/null
trap 'bash "$root/scripts/mariadb-stop.sh" "$state" >/dev/null 2>&1 || true' EXIT
address=$(cat "$state/address")

# The program keeps temp/ and datos/ under its working folder.
mkdir -p "$build/demo-run"
cd "$build/demo-run"
"$build/src/vales" --servidor-local "$address" --servidor-remoto "$address"
