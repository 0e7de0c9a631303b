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
printf '%s\n' 'set -s escape-time 10' 'set -g default-terminal tmux-256color' \
    'set -g remain-on-exit on' 'set -g status off' >"$work/tmux.conf"

failures=0
passes=0
screen() { tmux -L "$socket" capture-pane -p -N -t e2e; }
wait_for() {
    for _ in $(seq 100); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}
check() {
    if "${@:2}"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAILED: $1"
        screen | sed 's/^/| /'
    fi
}
keys() { tmux -L "$socket" send-keys -t e2e "$@"; sleep 0.3; }

for _ in 1 2 3; do
    tmux -L "$socket" -f "$work/tmux.conf" new-session -d -s e2e -x 100 -y 36 \
        "cd '$work' && '$program' --servidor-local '$address' --servidor-remoto '$address'" &&
        tmux -L "$socket" has-session -t e2e 2>/dev/null && break
    tmux -L "$socket" kill-server 2>/dev/null
    sleep 0.5
done
tmux -L "$socket" has-session -t e2e 2>/dev/null || { echo "login_tmux: tmux could not start a session"; exit 1; }
check "main menu" wait_for "Conectar con Servidor"
keys c
check "connection-mode menu" wait_for "Conección Local"
keys Enter
check "login form" wait_for "PassWord:"
keys 007 Enter operador Enter
keys vales123 Enter
check "welcome message" wait_for "Se ha establecido una conexión con el servidor"
keys x
check "title line shows the user" wait_for "Conectado => operador"
check "company title" wait_for "Refractarios Velmo Ltda."
keys d
check "logout shows the disconnected title" wait_for "Desconectado"
tmux -L "$socket" send-keys -t e2e Escape
sleep 0.4
keys s

echo "login_tmux: $passes passed, $failures failed"
exit $((failures > 0))
