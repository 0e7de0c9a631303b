#!/usr/bin/env bash
# Installs what is needed, builds, starts a private demo MariaDB server with sample data
# on a loopback port, and runs the program against it. The server stops when the program
# ends. Log in with company 007, user "operador", password "vales123".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [[ $(id -u) == 0 ]]; then
    bash scripts/install-deps.sh
fi
cmake -S . -B build -G "Unix Makefiles" >/dev/null
cmake --build build -j"$(nproc)" --target vales

state=$root/build/demo-mariadb
echo "Iniciando servidor de demostración..."
bash scripts/mariadb-start.sh "$state" >/dev/null
trap 'bash "$root/scripts/mariadb-stop.sh" "$state" >/dev/null 2>&1 || true' EXIT
address=$(cat "$state/address")

# The program keeps temp/ and datos/ under its working folder.
mkdir -p build/demo-run
cd build/demo-run
"$root/build/src/vales" --servidor-local "$address" --servidor-remoto "$address"
