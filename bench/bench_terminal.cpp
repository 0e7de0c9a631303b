// What the real terminal costs: bytes written for the first frame of the real main menu,
// for moving its highlight by one prompt and for one changed cell, and the time to compose
// and write a frame. Output goes to /dev/null; keys and size come from a pty.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "datos/sesion.h"
#include "runtime/screen/console.h"
#include "runtime/screen/terminal_backend.h"
#include "runtime/screen/terminal_frame.h"
#include "runtime/screen/virtual_backend.h"
#include "vales/vales.h"

namespace {

// The real main menu's first two frames: the highlight on entry 1, then on entry 2.
std::pair<rt::Grid, rt::Grid> menu_frames() {
    rt::VirtualBackend keys;
    rt::Console console(keys);
    rt::Console* previous = rt::install_console(&console);
    datos::Sesion sesion;
    datos::Sesion* previous_sesion = datos::install_sesion(&sesion);
    console.set_colour("w/b,+w/r,,,+w/b");
    keys.keys({rt::key::kDown, rt::key::kEnter});
    int opcion = 1;
    vales::menu_principal(opcion);
    datos::install_sesion(previous_sesion);
    rt::install_console(previous);
    return {keys.snapshots().at(0).grid, keys.snapshots().at(1).grid};
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
    int master, slave;
    winsize ws{36, 100, 0, 0};
    if (::openpty(&master, &slave, nullptr, nullptr, &ws) != 0) {
        std::perror("openpty");
        return 1;
    }
    int null_fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    rt::TerminalBackend term(slave, null_fd);
    const auto [first_frame, moved_frame] = menu_frames();
    const rt::CursorState hidden{rt::kRows - 2, 0, 0};

    std::size_t before = term.bytes_written();
    term.present(first_frame, hidden);
    std::size_t first = term.bytes_written() - before;

    before = term.bytes_written();
    term.present(moved_frame, hidden);
    std::size_t highlight = term.bytes_written() - before;

    rt::Grid one_more = moved_frame;
    one_more[20][50].ch = 'X';
    before = term.bytes_written();
    term.present(one_more, hidden);
    std::size_t one_cell = term.bytes_written() - before;

    // Frame timings: compose plus one write() to /dev/null.
    constexpr int kMoves = 20000;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kMoves; ++i) term.present(i % 2 ? first_frame : moved_frame, hidden);
    double per_move = seconds_since(t0) / kMoves;

    constexpr int kFull = 2000;
    rt::FrameComposer composer;
    std::string out;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFull; ++i) {
        composer.invalidate();
        out.clear();
        composer.compose(first_frame, hidden, out);
        [[maybe_unused]] ssize_t w = ::write(null_fd, out.data(), out.size());
    }
    double per_full = seconds_since(t0) / kFull;

    rt::restore_terminal();
    std::printf("terminal: first full frame 100x36      %6zu bytes\n", first);
    std::printf("terminal: menu highlight move          %6zu bytes (target < 300)\n", highlight);
    std::printf("terminal: one changed cell             %6zu bytes\n", one_cell);
    std::printf("terminal: highlight move, compose+write %8.2f us\n", per_move * 1e6);
    std::printf("terminal: full frame, compose+write     %8.2f us\n", per_full * 1e6);
    ::close(null_fd);
    ::close(master);
    ::close(slave);
    return highlight < 300 ? 0 : 1;
}
