// Raw mode and its undoing. The restore path runs inside signal handlers, so it only uses
// async-signal-safe calls (write, tcsetattr, sigaction, raise) on state prepared in advance.
#include "runtime/screen/terminal_session.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace rt {
namespace {

// Save the title, alternate screen, extended keys (xterm modifyOtherKeys; tmux turns it
// into CSI u), hidden cursor, no autowrap so the last cell never scrolls, blank screen.
constexpr char kEnter[] = "\x1b[22;0t\x1b[?1049h\x1b[>4;1m\x1b[?25l\x1b[?7l\x1b[0m\x1b[2J\x1b[H";
constexpr char kLeave[] = "\x1b[0m\x1b[?7h\x1b[>4;0m\x1b[0 q\x1b[?25h\x1b[?1049l\x1b[23;0t";

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                            SIGBUS, SIGFPE,  SIGILL, SIGABRT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct Saved {
    volatile std::sig_atomic_t active = 0;
    volatile std::sig_atomic_t resized = 0;
    int in_fd = -1;
    int out_fd = -1;
    termios original{};
    struct sigaction previous[kSignalCount] {};
    struct sigaction previous_winch {};
    int wake[2] = {-1, -1};
};
Saved g_saved;

void write_fully(int fd, const char* p, std::size_t n) noexcept {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return;
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

// Restores the terminal, then lets the signal do what it did before we were here: end the
// program, or reach a sanitizer's handler.
void on_fatal_signal(int sig) {
    int saved_errno = errno;
    restore_terminal();
    for (int i = 0; i < kSignalCount; ++i)
        if (kSignals[i] == sig) ::sigaction(sig, &g_saved.previous[i], nullptr);
    ::raise(sig);
    errno = saved_errno;
}

void on_winch(int) {
    int saved_errno = errno;
    g_saved.resized = 1;
    char b = 1;
    [[maybe_unused]] ssize_t w = ::write(g_saved.wake[1], &b, 1);
    errno = saved_errno;
}

void restore_at_exit() {
    restore_terminal();
}

}  // namespace

void restore_terminal() noexcept {
    if (!g_saved.active) return;
    g_saved.active = 0;
    write_fully(g_saved.out_fd, kLeave, sizeof kLeave - 1);
    ::tcsetattr(g_saved.in_fd, TCSANOW, &g_saved.original);
}

TerminalSession::TerminalSession(int in_fd, int out_fd) : in_fd_(in_fd), out_fd_(out_fd) {
    if (g_saved.active || g_saved.wake[0] >= 0)
        throw std::runtime_error("La terminal ya está en uso por otra sesión");
    termios original;
    if (!::isatty(in_fd) || ::tcgetattr(in_fd, &original) != 0)
        throw std::runtime_error("El programa debe ejecutarse en una terminal");
    if (::pipe2(g_saved.wake, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error(std::string("No se pudo preparar la terminal: ") +
                                 std::strerror(errno));

    termios raw = original;
    raw.c_iflag &= ~(IXON | ICRNL | INLCR | IGNCR | BRKINT | ISTRIP | INPCK);
    raw.c_lflag &= ~(ECHO | ICANON | ISIG | IEXTEN);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;

    g_saved.in_fd = in_fd;
    g_saved.out_fd = out_fd;
    g_saved.original = original;
    g_saved.resized = 0;

    static bool at_exit_registered = false;
    if (!at_exit_registered) at_exit_registered = std::atexit(restore_at_exit) == 0;

    struct sigaction fatal {};
    fatal.sa_handler = on_fatal_signal;
    sigemptyset(&fatal.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        ::sigaction(kSignals[i], &fatal, &g_saved.previous[i]);
        // A signal the program was told to ignore (nohup) stays ignored.
        if (g_saved.previous[i].sa_handler == SIG_IGN)
            ::sigaction(kSignals[i], &g_saved.previous[i], nullptr);
    }
    struct sigaction winch {};
    winch.sa_handler = on_winch;
    winch.sa_flags = SA_RESTART;
    sigemptyset(&winch.sa_mask);
    ::sigaction(SIGWINCH, &winch, &g_saved.previous_winch);

    ::tcsetattr(in_fd, TCSANOW, &raw);
    g_saved.active = 1;
    write_fully(out_fd, kEnter, sizeof kEnter - 1);
}

TerminalSession::~TerminalSession() {
    restore_terminal();
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &g_saved.previous[i], nullptr);
    ::sigaction(SIGWINCH, &g_saved.previous_winch, nullptr);
    ::close(g_saved.wake[0]);
    ::close(g_saved.wake[1]);
    g_saved.wake[0] = g_saved.wake[1] = -1;
}

int TerminalSession::wake_fd() const {
    return g_saved.wake[0];
}

bool TerminalSession::take_resize() {
    char buf[64];
    while (::read(g_saved.wake[0], buf, sizeof buf) > 0) {
    }
    if (!g_saved.resized) return false;
    g_saved.resized = 0;
    return true;
}

}  // namespace rt
