// The stock panel: the stock of one item in every active warehouse, drawn beside the
// product catalogue, with a notice when transfers of the item are pending.
#include "abm/abm_rutinas.h"
#include "abm/consulta_sesion.h"
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

    if (!kind.empty() && !code.empty()) {
        std::string sql =
            "select bodegas.*, stock_bodegas.stock from bodegas left join stock_bodegas on "
            "bodegas.numero_bod=stock_bodegas.numero_bod and stock_bodegas.tipo_prd='" +
            sqltexto(kind) + "' and stock_bodegas.codi_prod='" + sqltexto(code) + "' ";
        if (kind == "P")
            sql += "and stock_bodegas.codi_form='" + sqltexto(formula.value_or("")) + "' ";
        sql += only_non_zero ? "where bodegas.l_activo and stock<>0 " : "where bodegas.l_activo ";
        sql += "order by bodegas.l_pedidos desc, bodegas.l_vales desc";
        auto res = consulta(sql);
        if (!fallo(res)) {
            while (!res->Eof() && room()) {
                auto fila = res->GetRow();
                const double stock = fila->FieldGet("stock").number();
                const cp::Oem name = cp::ansi_to_oem(fila->FieldGet("nombre_bod").text());
                c.write_at(++row, kLeft + 1, name.padded(11), "+gr/g");
                c.write(rt::format_with_mask(rt::Value(stock), "@E 9,999,999.99"),
                        stock < 0 ? "+bg/g" : "+w/g");
                res->Skip();
            }
        }
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
