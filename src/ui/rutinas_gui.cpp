#include "ui/rutinas_gui.h"

#include <optional>
#include <string>

#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/screen/console.h"

namespace ui {
namespace {

// The window "frmMensajes": 650 x 100 pixels on the desktop is about 60 x 5 cells.
constexpr int kTop = 15, kBottom = 19, kLeft = 20, kRight = 79;
constexpr int kWidth = kRight - kLeft + 1;

// What the window covers, while it is open.
std::optional<rt::SavedRegion> g_covered;

}  // namespace

void OPENWINPROCESO(cp::OemView title, cp::OemView text) {
    rt::Console& c = rt::con();
    CLOSEWINPROCESO();
    const cp::Oem caption(cp::Oem(title).trimmed().empty() ? "Mensaje del sistema" : title);
    const cp::Oem label(cp::Oem(text).trimmed().empty() ? "Procesando..." : text);
    const int row = c.row(), col = c.col();
    g_covered = c.save_region(kTop, kLeft, kBottom, kRight);
    c.write_at(kTop, kLeft, caption.centred(kWidth), "+W/B");
    c.fill_box(kTop + 1, kLeft, kBottom, kRight, rt::kSingleFrameFilled, "N/W");
    c.write_at(kTop + 2, kLeft + 1, label.centred(kWidth - 2), "N/W");
    c.set_pos(row, col);
    c.flush();  // shown at once; the program goes on without waiting
}

void CLOSEWINPROCESO() {
    if (!g_covered) return;
    rt::con().restore_region(*g_covered);
    g_covered.reset();
}

}  // namespace ui
