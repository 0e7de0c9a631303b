// The real main menu on the terminal's frame composer: bytes written for the first full
// frame, for moving the highlight by one prompt, and the time to compose a frame.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/screen/console.h"
#include "runtime/screen/terminal_frame.h"
#include "runtime/screen/virtual_backend.h"
#include "vales/sesion.h"
#include "vales/vales.h"

namespace {

// Keys from a script like the test terminal, and every frame through the real composer.
class CountingBackend : public rt::VirtualBackend {
  public:
    void present(const rt::Grid& grid, const rt::CursorState& cursor) override {
        rt::VirtualBackend::present(grid, cursor);
        std::string out;
        composer.compose(grid, cursor, out);
        frame_bytes.push_back(out.size());
    }
    rt::FrameComposer composer;
    std::vector<std::size_t> frame_bytes;
};

}  // namespace

int main() {
    CountingBackend term;
    rt::Console console(term);
    rt::install_console(&console);
    vales::Sesion sesion;
    vales::install_sesion(&sesion);
    console.set_colour("w/b,+w/r,,,+w/b");

    term.keys({rt::key::kDown, rt::key::kDown, rt::key::kEnter});
    int opcion = 1;
    vales::menu_principal(opcion);
    std::printf("main menu: first full frame          %6zu bytes\n", term.frame_bytes.at(0));
    std::printf("main menu: highlight moved one prompt %5zu bytes (target < 300)\n",
                term.frame_bytes.at(1));

    // Compose alternating frames (highlight on entry 1 and 2) many times.
    const rt::Grid a = term.snapshots().at(0).grid, b = term.snapshots().at(1).grid;
    rt::FrameComposer composer;
    std::string out;
    const int rounds = 20000;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        out.clear();
        composer.compose(i % 2 ? a : b, term.cursor(), out);
    }
    double move_us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() /
        rounds;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds / 10; ++i) {
        out.clear();
        composer.invalidate();
        composer.compose(a, term.cursor(), out);
    }
    double full_us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() /
        (rounds / 10);
    std::printf("main menu: compose a highlight move  %8.2f us\n", move_us);
    std::printf("main menu: compose a full frame      %8.2f us\n", full_us);
    return 0;
}
