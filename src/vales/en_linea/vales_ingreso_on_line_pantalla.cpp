// The screens of the on-line voucher entry: the header form checked on the server, the
// formula's activities read from it, and the item list whose handler edits, splits, saves
// and prints the voucher.
#include <optional>
#include <string>

#include "abm/abm_rutinas.h"
#include "abm/consulta_sesion.h"
#include "datos/identidad.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"
#include "ui/vermemo.h"
#include "vales/en_linea/vales_help_on_line.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/imprimir/print_vales.h"
#include "vales/ingreso/cabecera_vale.h"
#include "vales/ingreso/lista_items.h"
#include "vales/ingreso/operacion_en_curso.h"

namespace vales {
namespace {

using abm::consulta;
using abm::fallo;
using abm::sqltexto;

constexpr const char* kProc = "VALES_INGRESO_ON_LINE";

FormularioCabecera formulario_on_line() {
    FormularioCabecera f;
    f.titulo = cp::Oem("< Ingreso de Vales ON-LINE >");
    f.columna_titulo = 48;
    f.proc = kProc;
    f.consultas.bodega = [](double n) { return abm::EXISTE_BODEGA(n, false, true); };
    f.consultas.nombre_producto = [](const std::string& p) { return abm::NOMBRE_PRODUCTO(p); };
    f.consultas.producto = [](const std::string& p) {
        return abm::EXISTE_PRODUCTO(p, false, true);
    };
    f.consultas.nombre_formula = [](const std::string& p, const std::string& f) {
        return abm::NOMBRE_FORMULA(p, f);
    };
    f.consultas.formula = [](const std::string& p, const std::string& f) {
        return abm::EXISTE_FORMULA(p, f, false, true);
    };
    return f;
}

std::string error_de(std::optional<TMySQLQuery>& res) {
    return res ? res->Error() : std::string(rt::kNoConnection);
}

enum class Actividades { kLeidas, kNinguna, kError };

// The formula's activities into the voucher records.
Actividades leer_actividades(ValeEnCurso& vale, const DatosCab& cab) {
    const std::string sql =
        "select formulas.prd_buy as codigo_actividad, formulas.consumo as cantidad_actividad, "
        "prodcmp.unid_med as unidad_actividad, prodcmp.desc_prod as nombre_actividad from "
        "formulas inner join prodcmp on formulas.prd_buy = prodcmp.codi_prod and "
        "formulas.tipo_prd = 'I' and left(prodcmp.codi_prod,1)='9' where prd_sale='" +
        sqltexto(cab.producto + cab.formula) + "' ";
    auto res = consulta(sql);
    if (fallo(res)) {
        rt::alert("Error: " + cp::ansi_to_oem(error_de(res)));
        ui::VERMEMO(cp::ansi_to_oem(sql));
        return Actividades::kError;
    }
    if (res->LastRec() == 0) return Actividades::kNinguna;
    empezar_vale(vale, cab);
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        agregar_actividad(vale, cp::ansi_to_oem(fila->FieldGet("nombre_actividad").text()),
                          fila->FieldGet("codigo_actividad").text(),
                          fila->FieldGet("cantidad_actividad").number());
    }
    return Actividades::kLeidas;
}

std::optional<Especificaciones> especificaciones_de(const std::string& actividad) {
    auto res = consulta(
        "select left(codi_unid,3) as codigo, desc_unid from unidmed where codi_prod ='" +
        sqltexto(actividad) +
        "' and length(trim(substring(codi_unid,1,3)))>=01 and substring(codi_unid,4,3)=space(03) "
        "order by desc_unid");
    if (fallo(res)) {
        rt::alert("Error: " + cp::ansi_to_oem(error_de(res)));
        return std::nullopt;
    }
    if (res->LastRec() == 0) {
        ui::MSGBOX("Actividad no posee especificaciones definidas");
        return std::nullopt;
    }
    Especificaciones e;
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        e.nombres.push_back(cp::ansi_to_oem(fila->FieldGet("desc_unid").text()));
        e.codigos.push_back(rt::pad_right(fila->FieldGet("codigo").text(), 3));
    }
    return e;
}

// F8 once every item has an operator: the voucher goes to the server, and the user may
// print it under the number it received.
bool grabar_en_servidor(ValeEnCurso& vale) {
    // The connection was lost while the voucher was typed: it stays on the screen.
    if (!datos::ses().LCONECTADO) {
        ui::MSGBOX("No existe conexión con el servidor"_oem);
        return false;
    }
    // One identity for every F8 on this voucher: after an answer that did not come, the
    // next F8 finds the voucher on the server instead of saving it again.
    if (vale.identidad.empty()) vale.identidad = datos::nueva_identidad();
    datos::Vale datos_vale{vale.aDatosCab, vale.aDatosItm, {}};
    datos_vale.identidad.id = vale.identidad;
    const datos::Grabacion g = grabar_y_mostrar(datos_vale, true);
    if (!g.en_servidor()) return false;
    if (ui::CONFIRMA("Vale de producción grabado correctamente - Desea imprimir?"_oem))
        PRINT_VALE(PRINTVALE, g.numero, g.numero);
    return true;
}

const ComandosItem& comandos_on_line() {
    static const ComandosItem comandos = [] {
        ComandosItem c;
        c.especificaciones = especificaciones_de;
        c.operario.nombre = [](double n) { return abm::NOMBRE_OPERARIO(n); };
        c.operario.valido = [](double n) {
            return abm::EXISTE_OPERARIO(n, false, true) && abm::OPERARIO_ACTIVO(n, false, true);
        };
        c.grabar = grabar_en_servidor;
        c.proc = "CTRL_ITEM";
        return c;
    }();
    return comandos;
}

}  // namespace

void VALES_INGRESO_ON_LINE() {
    OperacionEnCurso operacion;
    if (!datos::ses().LCONECTADO) {
        ui::MSGBOX("No existe conexión con el servidor"_oem);
        return;
    }
    if (!abm::SISTEMA_PERMITE("acc_ingreso")) return;
    operacion.instalar_ayuda(VALES_HELP_ON_LINE);

    const FormularioCabecera formulario = formulario_on_line();
    ValeEnCurso vale;
    DatosCab cab = cabecera_inicial();
    for (;;) {
        cab = cabecera_siguiente(cab);
        if (!leer_cabecera(cab, formulario)) return;
        const Actividades leidas = leer_actividades(vale, cab);
        if (leidas == Actividades::kError) return;
        if (leidas == Actividades::kNinguna) {
            ui::MSGBOX("Fórmula de producción no contiene actividades"_oem);
            continue;
        }
        ui::MSG("[Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]"_oem);
        dibujar_lista_items();
        recorrer_items(
            vale, [&vale](int mode, int item, int row) { return CTRL_ITEM(vale, mode, item, row); },
            kProc);
    }
}

int CTRL_ITEM(ValeEnCurso& vale, int /*mode*/, int item, int /*row*/) {
    return manejar_item(vale, item, comandos_on_line());
}

}  // namespace vales
