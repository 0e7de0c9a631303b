#pragma once
// How a statement waits for a server that is slow to answer.
//
// Statements never block the program on the server: between looks at the connection's
// socket the application gets the hand, so it can keep the keys typed meanwhile and show
// that it is waiting. A server that stays silent for longer than the limit is given up:
// the statement fails with the client library's "lost connection" error and the
// connection is closed, since its answer could still arrive later and be taken for the
// answer to the next statement. A statement that is answered at once never calls a hook.
//
// This library knows nothing of the screen: the program installs the hooks at start-up.
#include <functional>

namespace rt {

struct ServerWait {
    // Monotonic seconds on the application's clock. Empty: the system's steady clock.
    std::function<double()> clock;
    // Lets up to `seconds` pass on that clock while the server has been silent for
    // `waited` seconds. Empty: the library looks at the socket again at once.
    std::function<void(double seconds, double waited)> pause;
    // The end of a wait that paused: the answer came (false), or the server was given up
    // (true; always reported).
    std::function<void(bool gave_up)> done;
    // The server closed the connection (it was stopped or restarted, the network cut it,
    // an administrator killed the session): the statement failed and the connection has
    // been closed on this side too, as no later statement can use it. Always reported.
    std::function<void()> lost;
    // Seconds of silence after which a statement is given up: long enough for any
    // statement of this system, short enough for a user to stand.
    double limit_seconds = 30;
};

// Installs the hooks for every connection; ServerWait{} puts the defaults back. Gives
// back the hooks in force before.
ServerWait install_server_wait(ServerWait wait);
const ServerWait& server_wait();

// A row lock held by another connection is waited for at most this long by the server
// (each connection sets it for its session), well inside the limit above: a save that
// meets a locked row is told so, instead of being taken for a hung server.
inline constexpr int kLockWaitSeconds = 20;

}  // namespace rt
