#pragma once
// Driving one client-library operation without blocking (internal to this library): the
// operation is started, and continued each time the connection's socket is ready, with
// the application's hooks running while the server is silent (runtime/server/server_wait.h).
#include <mysql.h>

namespace rt::detail {

// Waits until the socket is ready for what `status` (MYSQL_WAIT_READ, ...) asks for. Gives
// the events to continue with, or 0 when the server stayed silent past the limit.
int wait_for_server(MYSQL* handle, int status);

// Runs `start()` and then `cont(events)` until the operation ends. False when the server
// was given up: the operation has then ended with the library's "lost connection" error.
template <class Start, class Cont>
bool run_without_blocking(MYSQL* handle, Start start, Cont cont) {
    bool answered = true;
    for (int status = start(); status != 0;) {
        int events = answered ? wait_for_server(handle, status) : 0;
        if (events == 0) {
            answered = false;
            events = MYSQL_WAIT_TIMEOUT;  // the library ends the operation as timed out
        }
        status = cont(events);
    }
    return answered;
}

}  // namespace rt::detail
