#!/usr/bin/env bash
# End-to-end: the real program in a tmux pane logs in to the private test server as the
# README's demo user and shows the connection on its title line; logout puts it back.
# Usage: login_tmux.sh PATH_TO_VALES   (VALES_TEST_MARIADB_DIR names the running server)
set -uo pipefail
program=$(realpath "$1")
address=$(cat "${VALES_TEST_MARIADB_DIR:?run through ctest}/address")
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-login-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/servidor_tmux.sh"

start_program
login_demo
check "company title" wait_for "Refractarios Velmo Ltda."
keys d
check "logout shows the disconnected title" wait_for "Desconectado"
tmux -L "$socket" send-keys -t e2e Escape
sleep 0.4
keys s

echo "login_tmux: $passes passed, $failures failed"
exit $((failures > 0))
