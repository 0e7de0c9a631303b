# Sourced by the scripts that start a private server for the tests or the demo.
#
#   start_on_free_port LAUNCH READY
#
# Picks a random loopback port, runs `LAUNCH PORT`, which must start the server in the
# background (as the last background job of the shell, with setsid so that it holds no
# terminal or output pipe of the caller's), and polls `READY PORT` for up to 30 s while the
# process lives. A server that dies has most likely found the port taken: another port is
# tried, eight at most. Sets PORT and PID; returns 1 when no attempt came up.
start_on_free_port() {
    local launch=$1 ready=$2 attempt
    for attempt in 1 2 3 4 5 6 7 8; do
        PORT=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
        "$launch" "$PORT"
        PID=$!
        for _ in $(seq 1 300); do
            kill -0 "$PID" 2>/dev/null || break
            "$ready" "$PORT" && return 0
            sleep 0.1
        done
        kill -KILL "$PID" 2>/dev/null || true
        wait "$PID" 2>/dev/null || true
    done
    return 1
}
