// The real terminal backend on a pseudo-terminal: keys typed on the master side, frames
// read from a pipe, tty modes checked before, during and after.
#include "runtime/screen/terminal_backend.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "ansi_screen.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"

namespace {

using namespace rt::key;

struct QuitRequested {};

class Pty {
  public:
    Pty(int rows, int cols) {
        winsize ws{static_cast<unsigned short>(rows), static_cast<unsigned short>(cols), 0, 0};
        if (::openpty(&master_, &slave_, nullptr, nullptr, &ws) != 0) ADD_FAILURE() << "openpty";
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
        ::close(slave_);
    }
    int slave() const { return slave_; }
    void type(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void resize(int rows, int cols) {
        winsize ws{static_cast<unsigned short>(rows), static_cast<unsigned short>(cols), 0, 0};
        ::ioctl(master_, TIOCSWINSZ, &ws);
        ::raise(SIGWINCH);  // the pty is not our controlling terminal: tell ourselves
    }
    void hang_up() {
        ::close(master_);
        master_ = -1;
    }
    termios modes() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }

  private:
    int master_ = -1, slave_ = -1;
};

// The terminal's output goes to a pipe so the test reads exactly what one call wrote.
class Output {
  public:
    Output() {
        EXPECT_EQ(::pipe2(fds_, O_CLOEXEC), 0);
        ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
        ::fcntl(fds_[1], F_SETPIPE_SZ, 1 << 20);
    }
    ~Output() {
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    int fd() const { return fds_[1]; }
    std::string take() {
        std::string all;
        char buf[65536];
        ssize_t n;
        while ((n = ::read(fds_[0], buf, sizeof buf)) > 0)
            all.append(buf, static_cast<std::size_t>(n));
        return all;
    }

  private:
    int fds_[2];
};

rt::Grid menu(int highlighted) {
    rt::Grid g;
    for (auto& row : g)
        for (auto& c : row) c = {' ', 0x17};
    for (int p = 0; p < 9; ++p)
        for (int c = 0; c < 38; ++c)
            g[4 + p][2 + c] = {static_cast<std::uint8_t>(c == 1 ? 'A' + p : ' '),
                               static_cast<rt::Attr>(p + 1 == highlighted ? 0x2F : 0x0A)};
    return g;
}

bool raw(const termios& t) {
    return !(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN)) && !(t.c_iflag & (IXON | ICRNL));
}

TEST(TerminalBackend, RawModeWhileOpenAndTheTerminalBackAfter) {
    Pty pty(36, 100);
    Output out;
    termios before = pty.modes();
    ASSERT_FALSE(raw(before));
    {
        rt::TerminalBackend term(pty.slave(), out.fd());
        EXPECT_TRUE(raw(pty.modes()));
        std::string start = out.take();
        EXPECT_NE(start.find("\x1b[?1049h"), std::string::npos);  // alternate screen
        EXPECT_NE(start.find("\x1b[>4;1m"), std::string::npos);   // extended keys
        EXPECT_NE(start.find("\x1b[?25l"), std::string::npos);    // hidden cursor
        EXPECT_NE(start.find("\x1b[?2004h"), std::string::npos);  // bracketed paste
        EXPECT_EQ(start.find("\x1b[?100"), std::string::npos);    // no mouse reports asked
    }
    EXPECT_FALSE(raw(pty.modes()));
    EXPECT_EQ(pty.modes().c_lflag, before.c_lflag);
    std::string end = out.take();
    EXPECT_NE(end.find("\x1b[?1049l"), std::string::npos);
    EXPECT_NE(end.find("\x1b[>4;0m"), std::string::npos);
    EXPECT_NE(end.find("\x1b[?25h"), std::string::npos);
    EXPECT_NE(end.find("\x1b[?2004l"), std::string::npos);
}

TEST(TerminalBackend, EmergencyRestoreIsImmediateAndHappensOnce) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    out.take();
    rt::restore_terminal();
    EXPECT_FALSE(raw(pty.modes()));
    EXPECT_NE(out.take().find("\x1b[?1049l"), std::string::npos);
    rt::restore_terminal();
    EXPECT_EQ(out.take(), "");
}

TEST(TerminalBackend, NotATerminalIsASpanishError) {
    Output out;
    try {
        rt::TerminalBackend term(out.fd(), out.fd());
        FAIL() << "a pipe was taken for a terminal";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "El programa debe ejecutarse en una terminal");
    }
}

TEST(TerminalBackend, PresentSendsOnlyWhatChanged) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    rt::test::AnsiScreen screen;
    screen.apply(out.take());
    term.present(menu(1), {});
    std::string first = out.take();
    screen.apply(first);
    EXPECT_EQ(screen.grid(), menu(1));
    screen.reset_count();
    std::size_t before = term.bytes_written();
    term.present(menu(2), {});
    std::string move = out.take();
    screen.apply(move);
    EXPECT_EQ(screen.grid(), menu(2));
    EXPECT_EQ(screen.cells_written(), 76);
    EXPECT_EQ(term.bytes_written() - before, move.size());
    EXPECT_LT(move.size(), 300u);
    term.present(menu(2), {});
    EXPECT_EQ(out.take(), "");
}

struct TypedCase {
    std::string bytes;
    std::vector<int> keys;
};

TEST(TerminalBackend, KeysTypedOnTheTerminal) {
    const TypedCase cases[] = {
        {"\r", {kEnter}},
        {"\n", {kCtrlEnter}},
        {"\x03", {kPgDn}},                    // Ctrl+C reaches the program: no signal
        {"\x13\x1a\x16", {kLeft, 26, kIns}},  // Ctrl+S, Ctrl+Z, Ctrl+V are keys too
        {"\x1b[A\x1b[6;5~\x1b[13;5u", {kUp, kCtrlPgDn, kCtrlEnter}},
        {"año", {'a', 164, 'o'}},
        {"\x1b[24;3~", {kAltF12}},
        {"\x1b[M #!x", {'x'}},                   // a mouse click is not Enter
        {"\x1b[<0;12;4M\x1b[<0;12;4my", {'y'}},  // SGR mouse press and release
        {"\x1b]52;c;c3M=\x07\x1b\\z", {'z'}},    // a clipboard reply is not typed
        {"\x1b[200~sS\r\x1b[201~", {pasted('s'), pasted('S')}},
    };
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    for (const auto& c : cases) {
        pty.type(c.bytes);
        std::vector<int> got;
        while (auto k = term.wait_key(0.5)) {
            got.push_back(*k);
            if (got.size() == c.keys.size()) break;
        }
        EXPECT_EQ(got, c.keys);
    }
}

TEST(TerminalBackend, LoneEscAfterAPauseAndTimedWaits) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    EXPECT_EQ(term.wait_key(0.0), std::nullopt);
    double t0 = term.monotonic_seconds();
    EXPECT_EQ(term.wait_key(0.15), std::nullopt);
    double waited = term.monotonic_seconds() - t0;
    EXPECT_GE(waited, 0.14);
    EXPECT_LT(waited, 1.0);
    pty.type("\x1b");
    EXPECT_EQ(term.wait_key(1.0), kEsc);
    pty.type("\x1b");
    EXPECT_EQ(term.wait_key(0.0), std::nullopt);  // a poll does not decide it yet
    ::usleep(40000);
    EXPECT_EQ(term.wait_key(0.0), kEsc);
}

TEST(TerminalBackend, TooSmallWindowShowsAMessageAndRedrawsWhenBigEnough) {
    Pty pty(24, 80);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    EXPECT_TRUE(term.too_small());
    std::string shown = out.take();
    EXPECT_NE(shown.find("La ventana debe tener al menos 100 columnas por 36 filas (ahora 80 x "
                         "24)."),
              std::string::npos);
    EXPECT_NE(shown.find("Agrande la ventana o pulse Esc para salir."), std::string::npos);
    EXPECT_NE(shown.find("\x1b[8;36;100t"), std::string::npos);  // asks for the size it needs
    term.present(menu(1), {});
    EXPECT_EQ(out.take(), "");  // never drawn into a window it does not fit
    pty.type("x\r");            // dropped: nobody sees what they would do
    EXPECT_EQ(term.wait_key(0.1), std::nullopt);

    pty.resize(30, 120);  // wider but still too short: a new message
    EXPECT_EQ(term.wait_key(0.05), std::nullopt);
    EXPECT_NE(out.take().find("(ahora 120 x 30)"), std::string::npos);

    pty.resize(40, 120);
    pty.type("k");
    EXPECT_EQ(term.wait_key(0.5), 'k');
    EXPECT_FALSE(term.too_small());
    rt::test::AnsiScreen screen;
    screen.apply(out.take());
    EXPECT_EQ(screen.grid(), menu(1));
}

TEST(TerminalBackend, EscAtTheTooSmallMessageQuits) {
    Pty pty(20, 60);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    term.set_quit_handler([] { throw QuitRequested{}; });
    pty.type("\x1b");
    EXPECT_THROW(term.wait_key(std::nullopt), QuitRequested);
}

TEST(TerminalBackend, TerminalGoneQuitsInsteadOfSpinning) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    term.set_quit_handler([] { throw QuitRequested{}; });
    pty.hang_up();
    EXPECT_THROW(term.wait_key(std::nullopt), QuitRequested);
}

TEST(TerminalBackend, AnUnfinishedStringEndsAfterAQuietPause) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    term.set_string_timeout(0.2);
    pty.type(
        "\x1b]52;c;c3Nz"
        "s");  // the letter comes with the string: dropped with it
    EXPECT_EQ(term.wait_key(0.05), std::nullopt);
    ::usleep(300000);
    pty.type("x");
    EXPECT_EQ(term.wait_key(1.0), 'x');
}

// A child process takes over the terminal and waits for a key; the test sends it a signal.
// Returns the child's wait status; the terminal's output is left in `out`.
int signalled_while_waiting(Pty& pty, Output& out, int sig) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        rlimit no_core{0, 0};  // SIGQUIT, SIGTRAP ... would leave a core file behind
        ::setrlimit(RLIMIT_CORE, &no_core);
        rt::TerminalBackend term(pty.slave(), out.fd());
        [[maybe_unused]] ssize_t w = ::write(ready[1], "r", 1);
        term.wait_key(std::nullopt);
        ::_exit(3);  // the signal ends it first
    }
    ::close(ready[1]);
    char r;
    EXPECT_EQ(::read(ready[0], &r, 1), 1);
    ::close(ready[0]);
    ::kill(child, sig);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(TerminalBackend, EverySignalThatEndsTheProgramGivesTheTerminalBackFirst) {
    const int signals[] = {SIGTERM, SIGINT,    SIGHUP,  SIGQUIT,  SIGUSR1,      SIGUSR2,
                           SIGALRM, SIGVTALRM, SIGPROF, SIGPOLL,  SIGXCPU,      SIGXFSZ,
                           SIGSYS,  SIGPWR,    SIGTRAP, SIGRTMIN, SIGRTMIN + 5, SIGRTMAX};
    for (int sig : signals) {
        Pty pty(36, 100);
        Output out;
        int status = signalled_while_waiting(pty, out, sig);
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), sig);  // the exit status still names the signal
        EXPECT_FALSE(raw(pty.modes())) << "signal " << sig;
        std::string all = out.take();
        for (const char* mode : {"\x1b[?1049l", "\x1b[?2004l", "\x1b[>4;0m", "\x1b[?25h"})
            EXPECT_NE(all.find(mode), std::string::npos) << "signal " << sig;
    }
}

TEST(TerminalBackend, ABrokenPipeIsAFailedWriteNotTheEnd) {
    Pty pty(36, 100);
    Output out;
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 4;
        {
            rt::TerminalBackend term(pty.slave(), out.fd());
            int p[2];
            if (::pipe(p) == 0) {
                ::close(p[0]);
                errno = 0;
                bool failed = ::write(p[1], "x", 1) < 0 && errno == EPIPE;
                status = failed ? 0 : 5;
            }
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(raw(pty.modes()));
}

TEST(TerminalBackend, TitleAndToneAndClock) {
    Pty pty(36, 100);
    Output out;
    rt::TerminalBackend term(pty.slave(), out.fd());
    out.take();
    term.set_title("Año"_oem.str());
    EXPECT_EQ(out.take(), "\x1b]0;Año\a");
    term.tone(440, 2);
    EXPECT_EQ(out.take(), "\a");
    rt::LocalTime t = term.local_time();
    EXPECT_GE(t.year, 2024);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.hundredths, 99);
    double a = term.monotonic_seconds();
    EXPECT_GE(term.monotonic_seconds(), a);
}

}  // namespace
