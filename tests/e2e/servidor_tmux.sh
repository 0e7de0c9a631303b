# Sourced by the end-to-end tests that drive the real program in a tmux pane against the
# private test server: checks counted in $passes and $failures, the pane's text, keys (Esc
# on its own, past the terminal's wait for a sequence), the start of the program and the
# login of the README's demo user.
# The caller sets $program, $address, $work and $socket before sourcing this file.

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
escape() { tmux -L "$socket" send-keys -t e2e Escape; sleep 0.4; }

# The program in a 100 x 36 pane with both server addresses on the test server; a tmux
# server that does not come up is tried again, three times at most.
start_program() {
    for _ in 1 2 3; do
        tmux -L "$socket" -f "$work/tmux.conf" new-session -d -s e2e -x 100 -y 36 \
            "cd '$work' && '$program' --servidor-local '$address' --servidor-remoto '$address'" &&
            tmux -L "$socket" has-session -t e2e 2>/dev/null && return 0
        tmux -L "$socket" kill-server 2>/dev/null
        sleep 0.5
    done
    echo "$(basename "$0"): tmux could not start a session"
    exit 1
}

# From the main menu's connection entry to the connected title line: company, user,
# password.
login() {
    keys c
    check "connection-mode menu ($1)" wait_for "Conección Local"
    keys Enter
    check "login form ($1)" wait_for "PassWord:"
    keys "$1" Enter "$2" Enter
    keys "$3" Enter
    check "logged in ($1)" wait_for "Se ha establecido una conexión con el servidor"
    keys x
    check "title line shows the user ($1)" wait_for "Conectado => $2"
}
# From the main menu to the connected title line, as the demo user of company 007.
login_demo() {
    check "main menu" wait_for "Conectar con Servidor"
    login 007 operador vales123
}
entry() {  # main-menu entry N, counted from the top
    keys Home
    for ((i = 1; i < $1; i++)); do keys Down; done
    keys Enter
}
# Every master-data table into the store, back to the main menu.
download_all() {
    keys o
    check "download menu" wait_for "Seleccione archivo a procesar"
    keys Enter
    check "download done" wait_for "Proceso terminado"
    keys x
    escape
}
