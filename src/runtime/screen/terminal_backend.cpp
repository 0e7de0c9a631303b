#include "runtime/screen/terminal_backend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <stdexcept>
#include <vector>

#include "runtime/common/codepage.h"

namespace rt {
namespace {

bool window_size(int fd, int& rows, int& cols) {
    winsize ws{};
    if (::ioctl(fd, TIOCGWINSZ, &ws) != 0 || ws.ws_row == 0 || ws.ws_col == 0) return false;
    rows = ws.ws_row;
    cols = ws.ws_col;
    return true;
}

// Splits a text into lines of at most `width` characters, at blanks where possible.
std::vector<std::string> wrap_words(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    auto chars = [](const std::string& s) {  // UTF-8 characters, not bytes
        int n = 0;
        for (unsigned char b : s) n += (b & 0xC0) != 0x80;
        return n;
    };
    while (pos < text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && chars(line) + 1 + chars(word) > width) {
            lines.push_back(line);
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += word;
        while (chars(line) > width) {  // a word longer than the window: cut it
            std::string head;
            std::size_t i = 0;
            for (int n = 0; i < line.size(); ++i) {
                auto b = static_cast<unsigned char>(line[i]);
                if ((b & 0xC0) != 0x80 && n++ == width) break;
            }
            lines.push_back(line.substr(0, i));
            line.erase(0, i);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::string too_small_message(int rows, int cols) {
    return "La ventana debe tener al menos " + std::to_string(kMinTermCols) + " columnas por " +
           std::to_string(kMinTermRows) + " filas (ahora " + std::to_string(cols) + " x " +
           std::to_string(rows) + "). Agrande la ventana o pulse Esc para salir.";
}

TerminalBackend::OwnedFd::~OwnedFd() {
    if (fd >= 0) ::close(fd);
}

TerminalBackend::TerminalBackend(int in_fd, int out_fd, bool owns_fd)
    : owned_{owns_fd ? in_fd : -1}, session_(in_fd, out_fd) {
    check_size();
    // Terminals that allow it (xterm) take the size the program needs; the others ignore
    // the request and the message stays until the user resizes the window.
    if (too_small_)
        write_out("\x1b[8;" + std::to_string(kMinTermRows) + ";" + std::to_string(kMinTermCols) +
                  "t");
}

TerminalBackend::~TerminalBackend() = default;

void TerminalBackend::write_out(const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    while (n > 0) {
        ssize_t w = ::write(session_.out_fd(), p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno == EAGAIN) {
            pollfd out{session_.out_fd(), POLLOUT, 0};
            ::poll(&out, 1, 100);
            continue;
        }
        if (w <= 0) return;  // the terminal is gone; the next read finds out and quits
        p += w;
        n -= static_cast<std::size_t>(w);
        bytes_written_ += static_cast<std::size_t>(w);
    }
}

void TerminalBackend::check_size() {
    int rows = kMinTermRows, cols = kMinTermCols;
    if (!window_size(session_.out_fd(), rows, cols)) {
        // A terminal that does not tell its size is taken to be big enough.
        window_size(session_.in_fd(), rows, cols);
    }
    too_small_ = rows < kMinTermRows || cols < kMinTermCols;
    composer_.invalidate();  // a resize may have cleared or reflowed the screen
    if (too_small_) {
        show_too_small(rows, cols);
    } else if (have_frame_) {
        draw();
    }
}

void TerminalBackend::show_too_small(int rows, int cols) {
    out_ = "\x1b[0m\x1b[?25l\x1b[2J";
    auto lines = wrap_words(too_small_message(rows, cols), cols);
    for (int i = 0; i < static_cast<int>(lines.size()) && i < rows; ++i) {
        out_ += "\x1b[" + std::to_string(i + 1) + ";1H";
        out_ += lines[static_cast<std::size_t>(i)];
    }
    write_out(out_);
}

void TerminalBackend::draw() {
    out_.clear();
    composer_.compose(grid_, cursor_, out_);
    if (!out_.empty()) write_out(out_);
}

void TerminalBackend::present(const Grid& grid, const CursorState& cursor) {
    if (session_.take_resize()) check_size();
    grid_ = grid;
    cursor_ = cursor;
    have_frame_ = true;
    if (!too_small_) draw();
}

bool TerminalBackend::read_input() {
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(session_.in_fd(), buf, sizeof buf);
        if (n > 0) {
            decoder_.feed(std::string_view(buf, static_cast<std::size_t>(n)));
            last_input_ = monotonic_seconds();
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && errno == EAGAIN;
    }
}

void TerminalBackend::quit() {
    if (quit_) quit_();
    restore_terminal();
    std::exit(0);
}

std::optional<int> TerminalBackend::wait_key(std::optional<double> timeout_seconds) {
    constexpr double kForever = std::numeric_limits<double>::infinity();
    const double deadline =
        timeout_seconds ? monotonic_seconds() + std::max(0.0, *timeout_seconds) : kForever;
    for (;;) {
        if (session_.take_resize()) check_size();
        double now = monotonic_seconds();
        // The pause is counted from the last bytes read: a sequence, string or paste that
        // keeps arriving is not cut.
        bool pause_over = decoder_.pending() && now - last_input_ >= pause_needed();
        while (auto key = decoder_.next(pause_over)) {
            if (too_small_) {
                if (*key == 27) quit();
                continue;  // nobody can see what the key would do
            }
            return key;
        }

        double until = deadline;
        if (decoder_.pending()) until = std::min(until, last_input_ + pause_needed());
        int ms =
            until == kForever ? -1 : static_cast<int>(std::ceil(std::max(0.0, until - now) * 1000));
        pollfd fds[2] = {{session_.in_fd(), POLLIN, 0}, {session_.wake_fd(), POLLIN, 0}};
        int ready = ::poll(fds, 2, ms);
        if (ready < 0) {
            if (errno == EINTR) continue;
            quit();
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            if (!read_input()) quit();
            continue;
        }
        if (ready > 0) continue;  // a resize: handled at the top
        now = monotonic_seconds();
        if (decoder_.pending() && now - last_input_ >= pause_needed()) continue;
        if (now >= deadline) return std::nullopt;
    }
}

void TerminalBackend::tone(int, int) {
    write_out("\a");
}

void TerminalBackend::set_title(const std::string& oem_text) {
    std::string out = "\x1b]0;";
    for (unsigned char b : oem_text) {
        char32_t c = cp::oem_to_unicode(b);
        cp::append_utf8(out, c < 0x20 ? U' ' : c);
    }
    out += '\a';
    write_out(out);
}

double TerminalBackend::monotonic_seconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

LocalTime TerminalBackend::local_time() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    ::localtime_r(&ts.tv_sec, &tm);
    return {tm.tm_year + 1900,
            tm.tm_mon + 1,
            tm.tm_mday,
            tm.tm_hour,
            tm.tm_min,
            tm.tm_sec,
            static_cast<int>(ts.tv_nsec / 10000000)};
}

std::unique_ptr<TerminalBackend> make_terminal_backend() {
    if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO))
        return std::make_unique<TerminalBackend>(STDIN_FILENO, STDOUT_FILENO);
    int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw std::runtime_error("El programa debe ejecutarse en una terminal");
    return std::make_unique<TerminalBackend>(fd, fd, true);  // closes fd if it throws
}

}  // namespace rt
