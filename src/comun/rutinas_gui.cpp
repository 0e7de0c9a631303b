#include "comun/rutinas_gui.h"

#include <optional>
#include <string>

#include "runtime/common/texto.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"

namespace comun {
namespace {

// The window "frmMensajes": 650 x 100 pixels on the desktop is about 60 x 5 cells.
constexpr int kTop = 15, kBottom = 19, kLeft = 20, kRight = 79;
constexpr int kWidth = kRight - kLeft + 1;

// What the window covers, while it is open.
std::optional<rt::SavedRegion> g_covered;

std::string centre(const std::string& text, int width) {
    std::string cut = text.substr(0, width);
    int left = (width - static_cast<int>(cut.size())) / 2;
    return std::string(left, ' ') + cut + std::string(width - left - cut.size(), ' ');
}

}  // namespace

void OPENWINPROCESO(std::string_view title, std::string_view text) {
    rt::Console& c = rt::con();
    CLOSEWINPROCESO();
    const std::string caption =
        rt::trim(title).empty() ? "Mensaje del sistema" : std::string(title);
    const std::string label = rt::trim(text).empty() ? "Procesando..." : std::string(text);
    const int row = c.row(), col = c.col();
    g_covered = c.save_region(kTop, kLeft, kBottom, kRight);
    c.write_at(kTop, kLeft, centre(cp::ansi_to_oem(caption), kWidth), "+W/B");
    c.fill_box(kTop + 1, kLeft, kBottom, kRight, "\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3 ", "N/W");
    c.write_at(kTop + 2, kLeft + 1, centre(cp::ansi_to_oem(label), kWidth - 2), "N/W");
    c.set_pos(row, col);
    c.flush();  // shown at once; the program goes on without waiting
}

void CLOSEWINPROCESO() {
    if (!g_covered) return;
    rt::con().restore_region(*g_covered);
    g_covered.reset();
}

}  // namespace comun
