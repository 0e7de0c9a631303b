// The supervisor job that copies the server's product costs into the earlier system's
// product table.
#include <cstdio>

#include "abm/catalogo_sql.h"
#include "abm/consola_lineas.h"
#include "abm/consulta_sesion.h"
#include "abm/productos_anterior.h"
#include "runtime/common/codepage.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace abm {

void COPIAR_COSTOS_ANTERIOR() {
    auto apertura = ProductosAnterior::abrir(tabla_productos_anterior());
    if (!apertura.tabla && apertura.motivo.empty()) return;
    ui::Resguardo resguardo;
    if (!apertura.tabla) {
        ConsolaLineas consola;
        consola.linea(cp::utf8_to_oem(apertura.motivo));
        ui::MSGBOX(cp::utf8_to_oem(ResumenCopia{}.texto()));
        return;
    }
    auto& tabla = *apertura.tabla;
    auto res = consulta("select * from prodvtas order by desc_prod");
    if (fallo(res)) {
        mostrar_error(res);
        return;
    }
    ConsolaLineas consola;
    for (const std::string& aviso : tabla.resumen().avisos) consola.linea(cp::utf8_to_oem(aviso));
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        const std::string codigo = fila->FieldGet("codi_prod").text();
        const std::string formula = fila->FieldGet("codi_form").text();
        const std::optional<int> registro = tabla.buscar(codigo, formula);
        if (!registro) continue;
        CostosMensuales costos{};
        for (int m = 0; m < kMesesDeCosto; ++m) {
            char columna[8];
            std::snprintf(columna, sizeof columna, "cost%02d", m + 1);
            costos[static_cast<std::size_t>(m)] = fila->FieldGet(columna).number();
        }
        if (tabla.grabar_costos(*registro, codigo, formula, costos) ==
            ProductosAnterior::Resultado::kGrabado)
            consola.linea(cp::ansi_to_oem(fila->FieldGet("desc_prod").text()));
        else
            consola.linea(cp::utf8_to_oem(tabla.resumen().avisos.back()));
    }
    const ResumenCopia resumen = tabla.resumen();
    apertura.tabla.reset();
    if (!resumen.otros().empty()) consola.linea(cp::utf8_to_oem(resumen.otros()));
    ui::MSGBOX(cp::utf8_to_oem(resumen.texto()));
}

}  // namespace abm
