#include "vales/imprimir/impresion_consola.h"

#include <algorithm>
#include <cstdio>

#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"

namespace vales {

std::string elegir_impresora(const std::vector<std::string>& nombres,
                             const std::string& por_omision) {
    rt::Console& c = rt::con();
    const int alto = std::min(static_cast<int>(nombres.size()), 12);
    const int top = 10, left = 30, right = 70;
    const rt::SavedRegion saved = c.save_region(top - 2, left - 2, top + alto + 1, right + 2);
    ui::BOX(top - 2, left - 2, top + alto + 1, right + 2, "+W/B");
    c.write_at(top - 1, left, "Seleccione impresora  [Esc] Cancelar", "+W/B");
    std::vector<cp::Oem> items;
    int primero = 1;
    for (std::size_t i = 0; i < nombres.size(); ++i) {
        // CUPS names printers in UTF-8.
        items.push_back(cp::utf8_to_oem(nombres[i]).padded(right - left + 1));
        if (nombres[i] == por_omision) primero = static_cast<int>(i) + 1;
    }
    const int elegida = rt::pick_list(top, left, top + alto - 1, right, items,
                                      {.first_item = primero, .proc = "SELPRINTER"});
    c.restore_region(saved);
    return elegida > 0 ? nombres[static_cast<std::size_t>(elegida - 1)] : std::string();
}

impresion::OpcionesImpresion opciones_impresion(const std::string& carpeta) {
    impresion::OpcionesImpresion o;
    o.carpeta = carpeta;
    // The print service speaks in program texts.
    o.avisar = [](std::string_view texto) { rt::alert(cp::ansi_to_oem(texto)); };
    o.informar = [](std::string_view texto) {
        ui::MSG(cp::ansi_to_oem(texto));
        // The service may now keep the program busy for a while: the message is shown
        // before that, not at the next key wait.
        rt::con().flush();
    };
    o.elegir_impresora = elegir_impresora;
    o.marca_de_tiempo = [] {
        const rt::LocalTime t = rt::con().now();
        char marca[32];
        std::snprintf(marca, sizeof marca, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        return std::string(marca);
    };
    return o;
}

}  // namespace vales
