// What the real terminal costs: bytes written for the first frame of the main menu, for a
// highlight move (two 38-cell prompts change colour) and for one changed cell, and the time
// to compose and write a frame. Output goes to /dev/null; keys and size come from a pty.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/screen/terminal_backend.h"
#include "runtime/screen/terminal_frame.h"

namespace {

const char* const kPrompts[] = {" Conectar con Servidor",
                                " Desconectarse del Servidor",
                                " Ingreso de Vales ON-LINE",
                                " Ingreso de Vales OFF-LINE",
                                " Lista de ingresos OFF-LINE",
                                " Obtener base de datos de servidor",
                                " Enviar datos ingresados al Servidor",
                                " Imprimir vales de producción",
                                " Salir del Sistema"};

std::string padded(const char* utf8) {
    std::string s = cp::utf8_to_oem(utf8);
    s.resize(38, ' ');
    return s;
}

void draw_menu(rt::Console& con, int highlighted) {
    con.set_colour("w/b,r/w");
    con.clear_screen();
    con.write_at(0, 0, std::string(100, ' '), "15/5");
    con.write_at(0, 0, "Refractarios Velmo Ltda.", "15/5");
    con.write_at(1, 40, cp::utf8_to_oem("Vales de producción"), "15/5");
    con.fill_box(3, 1, 17, 40, 1, "g/n");
    for (int i = 0; i < 9; ++i)
        con.write_at(4 + i + i / 2, 2, padded(kPrompts[i]), i + 1 == highlighted ? "+w/g" : "+g/n");
    con.write_at(35, 0, cp::utf8_to_oem("Seleccione opción   -   [Escape] Salir del sistema"));
}

void move_highlight(rt::Console& con, int from, int to) {
    con.write_at(4 + (from - 1) + (from - 1) / 2, 2, padded(kPrompts[from - 1]), "+g/n");
    con.write_at(4 + (to - 1) + (to - 1) / 2, 2, padded(kPrompts[to - 1]), "+w/g");
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
    rt::Console con(term);

    std::size_t before = term.bytes_written();
    draw_menu(con, 1);
    con.flush();
    std::size_t first = term.bytes_written() - before;

    before = term.bytes_written();
    move_highlight(con, 1, 2);
    con.flush();
    std::size_t highlight = term.bytes_written() - before;

    before = term.bytes_written();
    con.write_at(20, 50, "X");
    con.flush();
    std::size_t one_cell = term.bytes_written() - before;

    // Frame timings: compose plus one write() to /dev/null.
    constexpr int kMoves = 20000;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kMoves; ++i) {
        int from = i % 9 + 1, to = from % 9 + 1;
        move_highlight(con, from, to);
        con.flush();
    }
    double per_move = seconds_since(t0) / kMoves;

    constexpr int kFull = 2000;
    rt::FrameComposer composer;
    std::string out;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFull; ++i) {
        composer.invalidate();
        out.clear();
        composer.compose(con.grid(), con.cursor(), out);
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
