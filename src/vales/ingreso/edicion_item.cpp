#include "vales/ingreso/edicion_item.h"

#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/form.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/vales_rutinas.h"

namespace vales {
namespace {

// The especificación chosen from the list (1-based), or 0 when the user left it.
int elegir_especificacion(const Especificaciones& especificaciones, std::string_view actual,
                          std::string_view proc) {
    rt::Console& c = rt::con();
    ui::BOX(12, 40, 32, 95);
    c.write_at(13, 41, "Especificación:"_oem);
    ui::DISPLINEA(28, 40, 95);
    return rt::pick_list(13, 58, 27, 94, especificaciones.nombres,
                         {.first_item = especificacion_inicial(especificaciones, actual),
                          .proc = std::string(proc)});
}

struct DatosOperario {
    double operario = 0;
    cp::Oem inicio, termino;
};

// The operator and times form; false when the user left it with Esc.
bool leer_operario(DatosOperario& d, const ConsultasOperario& consultas, std::string_view proc) {
    rt::Console& c = rt::con();
    const auto hora_valida = [](const cp::Oem& hora) {
        return [&hora] { return VALIDAHORA(cp::oem_to_ansi(hora)); };
    };
    rt::Form form;
    c.write_at(29, 41, "Nº de Operario :"_oem);
    form.field(29, 58, d.operario, "nxOperario", "999", [&] {
        c.write_at(29, 62, consultas.nombre(d.operario));
        return d.operario != 0 && consultas.valido(d.operario);
    });
    c.write_at(30, 41, "Hora de Inicio :");
    form.field(30, 58, d.inicio, "cxHoraIni", "99:99", hora_valida(d.inicio));
    c.write_at(31, 41, "Hora de Termino:");
    form.field(31, 58, d.termino, "cxHoraFin", "99:99", hora_valida(d.termino));
    c.set_cursor_shape(1);
    form.read_checked(proc);
    c.set_cursor_shape(0);
    return c.last_key() != rt::key::kEsc;
}

}  // namespace

int especificacion_inicial(const Especificaciones& especificaciones, std::string_view codigo) {
    int inicial = 1;
    for (std::size_t i = 0; i < especificaciones.codigos.size(); ++i)
        if (rt::rtrim(especificaciones.codigos[i]) == rt::rtrim(codigo))
            inicial = static_cast<int>(i) + 1;
    return inicial;
}

bool editar_item(ValeEnCurso& vale, int pos, const Especificaciones& especificaciones,
                 const ConsultasOperario& operario, std::string_view proc) {
    DatosItm& item = vale.aDatosItm.at(pos - 1);
    const int elegida = elegir_especificacion(especificaciones, item.especificacion, proc);
    if (elegida <= 0) return false;

    DatosOperario d{item.operario, cp::ansi_to_oem(item.hora_inicio),
                    cp::ansi_to_oem(item.hora_termino)};
    if (!leer_operario(d, operario, proc)) return false;

    item.operario = d.operario;
    item.especificacion = especificaciones.codigos.at(elegida - 1);
    item.hora_inicio = cp::oem_to_ansi(d.inicio);
    item.hora_termino = cp::oem_to_ansi(d.termino);
    cp::Oem& linea = vale.aDisplay.at(pos - 1);
    linea = con_operario(linea, operario.nombre(item.operario));
    linea = con_especificacion(linea, especificaciones.nombres.at(elegida - 1));
    linea = con_cantidad(linea, item.cantidad);
    return true;
}

}  // namespace vales
