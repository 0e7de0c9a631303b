// The on-line voucher entry: the entry screen (ingreso_vale.h) with the codes checked on the
// server, the voucher saved there and offered for printing.
#include <string>

#include "abm/abm_rutinas.h"
#include "datos/identidad.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/lists/alert.h"
#include "ui/rutinas2.h"
#include "ui/vermemo.h"
#include "vales/en_linea/vales_help_on_line.h"
#include "vales/en_linea/vales_ingreso_on_line.h"
#include "vales/imprimir/print_vales.h"
#include "vales/ingreso/ingreso_vale.h"
#include "vales/ingreso/operacion_en_curso.h"

namespace vales {
namespace {

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

ModoIngreso modo_on_line(datos::Maestros& maestros) {
    ModoIngreso m;
    m.formulario = formulario_on_line();
    m.maestros = &maestros;
    m.actividades_ilegibles = [](const datos::Fallo& f) {
        rt::alert("Error: " + cp::ansi_to_oem(f.texto));
        ui::VERMEMO(cp::ansi_to_oem(f.sentencia));
    };
    m.especificaciones_ilegibles = [](const datos::Fallo& f) {
        rt::alert("Error: " + cp::ansi_to_oem(f.texto));
    };
    m.operario.nombre = [](double n) { return abm::NOMBRE_OPERARIO(n); };
    m.operario.valido = [](double n) {
        return abm::EXISTE_OPERARIO(n, false, true) && abm::OPERARIO_ACTIVO(n, false, true);
    };
    m.grabar = grabar_en_servidor;
    m.manejador = CTRL_ITEM;
    m.proc_item = "CTRL_ITEM";
    m.teclas = "[Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]"_oem;
    return m;
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
    datos::MaestrosServidor maestros(datos::ses().OSERVER.get());
    ingresar_vales(modo_on_line(maestros));
}

int CTRL_ITEM(const ModoIngreso& modo, ValeEnCurso& vale, int /*mode*/, int item, int /*row*/) {
    return manejar_item(vale, item, comandos_de(modo));
}

}  // namespace vales
