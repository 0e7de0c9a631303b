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
// into CSI u), bracketed paste (so that pasted text can be told from typing), hidden
// cursor, no autowrap so the last cell never scrolls, blank screen.
constexpr char kEnter[] =
    "\x1b[22;0t\x1b[?1049h\x1b[>4;1m\x1b[?2004h\x1b[?25l\x1b[?7l\x1b[0m\x1b[2J\x1b[H";
// Leaving starts with CAN, which ends an escape sequence that a signal may have cut short.
constexpr char kLeave[] =
    "\x18\x1b[0m\x1b[?7h\x1b[?2004l\x1b[>4;0m\x1b[0 q\x1b[?25h\x1b[?1049l\x1b[23;0t";

// Every signal whose default action ends the process: the terminal is given back first.
// The real-time signals are added at run time (SIGRTMIN is not a constant).
constexpr int kEndingSignals[] = {SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT, SIGUSR1,   SIGUSR2,
                                  SIGALRM, SIGVTALRM, SIGPROF, SIGPOLL, SIGSTKFLT, SIGPWR,
                                  SIGXCPU, SIGXFSZ,   SIGSYS,  SIGTRAP, SIGSEGV,   SIGBUS,
                                  SIGFPE,  SIGILL,    SIGABRT};

struct Saved {
    volatile std::sig_atomic_t active = 0;
    volatile std::sig_atomic_t resized = 0;
    int in_fd = -1;
    int out_fd = -1;
    termios original{};
    // What each signal did before the session, and whether the session changed it.
    struct sigaction previous[NSIG] {};
    bool taken[NSIG] = {};
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
// program (so the exit status still names the signal), or reach a sanitizer's handler.
void on_ending_signal(int sig) {
    int saved_errno = errno;
    restore_terminal();
    ::sigaction(sig, &g_saved.previous[sig], nullptr);
    ::raise(sig);
    errno = saved_errno;
}

// A write to a pipe or socket whose reader is gone (a server connection dropped, a print
// command that ended early) fails with EPIPE and is reported as a failure, instead of ending
// the program in the middle of a voucher. A handler rather than SIG_IGN, so that programs
// started from here get the usual default back.
void on_broken_pipe(int) {}

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

// `always`: taken even when the program was started with the signal ignored.
void take_signal(int sig, void (*handler)(int), int flags, bool always = false) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    // No second ending signal interrupts the restore half way.
    sigemptyset(&action.sa_mask);
    for (int other : kEndingSignals) sigaddset(&action.sa_mask, other);
    ::sigaction(sig, nullptr, &g_saved.previous[sig]);
    // A signal the program was told to ignore (nohup) stays ignored.
    if (g_saved.previous[sig].sa_handler == SIG_IGN && !always) return;
    ::sigaction(sig, &action, nullptr);
    g_saved.taken[sig] = true;
}

void take_signals() {
    for (int sig : kEndingSignals) take_signal(sig, on_ending_signal, 0);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) {
        // Left alone when some library already handles it.
        struct sigaction current {};
        ::sigaction(sig, nullptr, &current);
        if (current.sa_handler == SIG_DFL) take_signal(sig, on_ending_signal, 0);
    }
    take_signal(SIGPIPE, on_broken_pipe, SA_RESTART);
    take_signal(SIGWINCH, on_winch, SA_RESTART, true);
}

void give_back_signals() {
    for (int sig = 1; sig < NSIG; ++sig) {
        if (!g_saved.taken[sig]) continue;
        ::sigaction(sig, &g_saved.previous[sig], nullptr);
        g_saved.taken[sig] = false;
    }
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

    take_signals();

    ::tcsetattr(in_fd, TCSANOW, &raw);
    g_saved.active = 1;
    write_fully(out_fd, kEnter, sizeof kEnter - 1);
}

TerminalSession::~TerminalSession() {
    restore_terminal();
    give_back_signals();
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
