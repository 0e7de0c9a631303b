// Waiting for the server's answer with the application's hooks in between.
#include "runtime/server/server_wait.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

#include "runtime/server/nonblocking.h"

namespace rt {
namespace {

ServerWait g_wait;

// Nearly every statement is answered within the first look, which calls no hook.
constexpr int kFirstLookMs = 250;
// Later looks are short: the pauses between them run on the application's clock, which
// in tests is a virtual one, so a silent server is given up in little real time.
constexpr int kLookMs = 20;
// Pauses are short at first, so an answer after a second or two is taken up at once, and
// longer once the server is plainly slow.
double pause_after(double waited) {
    return waited < 2 ? 0.1 : 0.5;
}

double steady_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double now() {
    return g_wait.clock ? g_wait.clock() : steady_seconds();
}

// The events of `status` that the socket shows within `ms`, or 0.
int look(MYSQL* handle, int status, int ms) {
    pollfd p{};
    p.fd = mysql_get_socket(handle);
    if (status & MYSQL_WAIT_READ) p.events |= POLLIN;
    if (status & MYSQL_WAIT_WRITE) p.events |= POLLOUT;
    if (status & MYSQL_WAIT_EXCEPT) p.events |= POLLPRI;
    const int r = ::poll(&p, 1, ms);
    if (r < 0 && errno != EINTR) return status & ~MYSQL_WAIT_TIMEOUT;  // the library sees why
    if (r <= 0) return 0;
    int events = 0;
    if (p.revents & (POLLIN | POLLHUP | POLLERR)) events |= MYSQL_WAIT_READ;
    if (p.revents & (POLLOUT | POLLHUP | POLLERR)) events |= MYSQL_WAIT_WRITE;
    if (p.revents & POLLPRI) events |= MYSQL_WAIT_EXCEPT;
    return events & status ? events & status : status & ~MYSQL_WAIT_TIMEOUT;
}

}  // namespace

ServerWait install_server_wait(ServerWait wait) {
    ServerWait previous = std::move(g_wait);
    g_wait = std::move(wait);
    return previous;
}

const ServerWait& server_wait() {
    return g_wait;
}

namespace detail {

int wait_for_server(MYSQL* handle, int status) {
    if (int events = look(handle, status, kFirstLookMs)) return events;
    const double start = now();
    for (;;) {
        const double waited = now() - start;
        if (waited >= g_wait.limit_seconds) {
            if (g_wait.done) g_wait.done(true);
            return 0;
        }
        if (g_wait.pause) g_wait.pause(pause_after(waited), waited);
        if (int events = look(handle, status, kLookMs)) {
            if (g_wait.done) g_wait.done(false);
            return events;
        }
    }
}

}  // namespace detail
}  // namespace rt
