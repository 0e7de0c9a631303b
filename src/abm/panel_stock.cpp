// The stock panel: the stock of one item in every active warehouse, drawn beside the
// product catalogue, with a notice when transfers of the item are pending.
#include "abm/abm_rutinas.h"
#include "datos/sesion.h"
#include "datos/stock.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

constexpr int kTop = 3, kLeft = 1, kBottom = 34, kRight = 25;
constexpr std::string_view kMarco = "w/g";

}  // namespace

void VERSTK(std::string_view kind, std::string_view code, std::optional<std::string_view> formula,
            bool only_non_zero) {
    rt::Console& c = rt::con();
    ui::BOX(kTop, kLeft, kBottom, kRight, kMarco);
    c.write_at(kTop + 1, kLeft + 1, "Bodega       Stock(", kMarco);
    c.write(UNIDAD_MEDIDA(kind, code, formula.value_or("")).trimmed(), "+w/g");
    c.write(")", kMarco);
    ui::DISPLINEA(kTop + 2, kLeft, kRight, kMarco);

    // Lines the panel has room for; more would run over its frame and off the screen.
    int row = kTop + 2;
    auto room = [&] { return row + 1 < kBottom; };

    std::optional<std::vector<datos::StockBodega>> bodegas;
    if (!kind.empty() && !code.empty() && datos::ses().OSERVER) {
        datos::Sentencias s(*datos::ses().OSERVER);
        bodegas = datos::stock_por_bodega(s, kind, code, formula.value_or(""), only_non_zero);
    }
    // A list that cannot be read shows no warehouse.
    for (const auto& b : bodegas.value_or(std::vector<datos::StockBodega>{})) {
        if (!room()) break;
        c.write_at(++row, kLeft + 1, cp::ansi_to_oem(b.nombre).padded(11), "+gr/g");
        c.write(rt::format_with_mask(rt::Value(b.stock), "@E 9,999,999.99"),
                b.stock < 0 ? "+bg/g" : "+w/g");
    }

    auto aviso = [&](std::initializer_list<cp::Oem> lines) {
        if (!room()) return;
        ui::DISPLINEA(++row, kLeft, kRight, kMarco);
        for (const auto& line : lines) {
            if (!room()) break;
            c.write_at(++row, kLeft + 1, line, "+w/g");
        }
    };
    if (EXISTEN_TRANSF_PEND(kind, code, formula, true))
        aviso({cp::Oem("ATENCION"), cp::Oem("Existen transferencias"),
               cp::Oem("pendientes de este"), cp::Oem("producto")});
    if (kind == "P" && EXISTEN_TRANSF_PEND(kind, code, formula, false))
        aviso({cp::Oem("ATENCION"), cp::Oem("Existen transferencias"),
               cp::Oem("pendientes de este"), "producto con fórmulas"_oem, cp::Oem("diferentes")});
    c.flush();
}

}  // namespace abm
