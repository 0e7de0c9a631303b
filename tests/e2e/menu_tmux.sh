#!/usr/bin/env bash
# End-to-end: the real program in a tmux pane. The main menu appears with its frame and
# colours, arrows and letters move and choose, a pasted "ss" does nothing, Esc then S
# leaves with the terminal given back; SIGUSR1 ends it with the terminal given back too;
# in an 80 x 24 pane the size message appears instead of the menu.
# Usage: menu_tmux.sh PATH_TO_VALES
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d /tmp/vales-e2e.XXXXXX)
socket="vales-e2e-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT
cat >"$work/tmux.conf" <<'CONF'
set -s extended-keys always
set -s escape-time 10
set -g default-terminal tmux-256color
set -as terminal-features 'xterm*:extkeys'
set -g remain-on-exit on
set -g status off
CONF

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND... (retried for up to 5 s: the program may be slow)
    local what=$1
    shift
    local ok=
    for _ in $(seq 50); do
        if "$@"; then ok=yes; break; fi
        sleep 0.1
    done
    if [[ $ok ]]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAILED: $what"
        echo "--- screen:"
        tmux -L "$socket" capture-pane -p -N -t e2e 2>/dev/null | sed 's/^/| /'
    fi
}
screen() { tmux -L "$socket" capture-pane -p -N -t e2e; }
colour_screen() { tmux -L "$socket" capture-pane -p -e -N -t e2e; }
line() { screen | sed -n "$(($1 + 1))p"; }
colour_line() { colour_screen | sed -n "$(($1 + 1))p"; }
keys() { tmux -L "$socket" send-keys -t e2e "$@"; sleep 0.3; }
wait_for() {  # wait_for TEXT: up to 5 s for the text to appear
    for _ in $(seq 50); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}
start() {  # start COLUMNS ROWS
    # The program runs inside a shell that records the terminal modes after it ends. A tmux
    # server that does not come up is tried again; after three tries the test stops.
    for _ in 1 2 3; do
        tmux -L "$socket" -f "$work/tmux.conf" new-session -d -s e2e -x "$1" -y "$2" \
            "cd '$work' && '$program'; echo \"exit=\$?\" > '$work/status'; stty -a > '$work/stty'; sleep 30" &&
            tmux -L "$socket" has-session -t e2e 2>/dev/null && return 0
        tmux -L "$socket" kill-server 2>/dev/null
        sleep 0.5
    done
    echo "menu_tmux: tmux could not start a session"
    exit 1
}
ended() {
    for _ in $(seq 50); do
        [[ -s "$work/stty" ]] && return 0
        sleep 0.1
    done
    return 1
}

line_starts() { [[ "$(line "$1")" == "$2"* ]]; }
line_ends() { [[ "$(line "$1")" == *"$2" ]]; }
colour_has() { [[ "$(colour_line "$1")" == *"$2"* ]]; }
screen_lacks() { ! screen | grep -qF -- "$1"; }
esc=$'\e'

# --- 100 x 36: the main menu --------------------------------------------------------------
start 100 36
check "main menu appears" wait_for "Conectar con Servidor"
check "company title line" line_starts 0 "Refractarios Velmo Ltda."
check "connection state on the title line" line_ends 1 "Desconectado"
check "menu frame" line_starts 3 " ┌──────────────────────────────────────┐"
check "frame green on black" colour_has 4 "${esc}[32m${esc}[40m"
check "first prompt highlighted bright white on green" \
    colour_has 4 "${esc}[97m${esc}[42m Conectar con Servidor"
keys Down
check "Down moves the highlight" colour_has 5 "${esc}[97m${esc}[42m Desconectarse del Servidor"
check "Down puts the first prompt back to bright green" colour_has 4 "${esc}[92m"
# A bracketed paste (tmux sends the brackets because the program asked for them).
tmux -L "$socket" set-buffer -b pegado "ss"
tmux -L "$socket" paste-buffer -p -d -b pegado -t e2e
sleep 0.5
check "a pasted ss does not leave" screen_lacks "Desea salir"
check "a pasted ss does not move the highlight" \
    colour_has 5 "${esc}[97m${esc}[42m Desconectarse del Servidor"
keys S
check "the letter S chooses the exit entry and asks" wait_for "Desea salir del sistema"
keys n
check "N goes back to the menu" screen_lacks "Desea salir"
check "highlight stays on Salir del Sistema" colour_has 16 "${esc}[97m${esc}[42m Salir del Sistema"
tmux -L "$socket" send-keys -t e2e Escape
sleep 0.4
check "Esc asks too" wait_for "Desea salir del sistema"
keys s
check "S leaves the program" ended
check "exit status 0" grep -qx "exit=0" "$work/status"
check "terminal modes restored (echo, icanon, isig, icrnl)" \
    bash -c 'grep -qw icanon "$0" && grep -qw echo "$0" && grep -qw isig "$0" && grep -qw icrnl "$0"' \
    "$work/stty"
check "screen given back" screen_lacks "Conectar con Servidor"
tmux -L "$socket" kill-server
rm -f "$work/stty" "$work/status"

# --- SIGUSR1 while the menu waits -----------------------------------------------------------
start 100 36
check "main menu appears again" wait_for "Conectar con Servidor"
shell_pid=$(tmux -L "$socket" display-message -p -t e2e '#{pane_pid}')
program_pid=$(ps -o pid= --ppid "$shell_pid" | head -n 1 | tr -d ' ')
check "the program's process found" test -n "$program_pid"
[[ -n "$program_pid" ]] && kill -USR1 "$program_pid"
check "SIGUSR1 ends the program" ended
check "exit status names SIGUSR1" grep -qx "exit=$((128 + 10))" "$work/status"
check "terminal modes restored after SIGUSR1" \
    bash -c 'grep -qw icanon "$0" && grep -qw echo "$0" && grep -qw isig "$0" && grep -qw icrnl "$0"' \
    "$work/stty"
check "screen given back after SIGUSR1" screen_lacks "Conectar con Servidor"
tmux -L "$socket" kill-server
rm -f "$work/stty" "$work/status"

# --- 80 x 24: too small -------------------------------------------------------------------
start 80 24
check "size message" wait_for "100"
check "no menu drawn" screen_lacks "Conectar con Servidor"
check "size message in Spanish" bash -c 'screen() { tmux -L "$0" capture-pane -p -N -t e2e; }; screen | grep -qiE "columnas|filas"' "$socket"
tmux -L "$socket" send-keys -t e2e Escape
check "Esc at the size message leaves cleanly" ended
check "terminal modes restored after the size message" grep -qw icanon "$work/stty"

echo "menu_tmux: $passes passed, $failures failed"
exit $((failures > 0))
