// The off-line voucher entry: the entry screen (ingreso_vale.h) with the codes checked
// against the off-line store's copies and the voucher stored there, pending until it is
// sent.
#include <string>

#include "datos/vales_locales.h"
#include "runtime/common/codepage.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/vales_help_off_line.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/fuera_de_linea/vales_rutinas.h"
#include "vales/ingreso/ingreso_vale.h"
#include "vales/ingreso/operacion_en_curso.h"

namespace vales {
namespace {

constexpr const char* kProc = "VALES_INGRESO_OFF_LINE";

FormularioCabecera formulario_off_line(rt::TODBC& RS) {
    FormularioCabecera f;
    f.titulo = cp::Oem("< Ingreso de Vales OFF-LINE >");
    f.columna_titulo = 47;
    f.proc = kProc;
    f.consultas.bodega = [&RS](double n) { return MDB_EXISTE_BODEGA(RS, n, false, true); };
    f.consultas.nombre_producto = [&RS](const std::string& p) {
        return MDB_NOMBRE_PRODUCTO(RS, p);
    };
    f.consultas.producto = [&RS](const std::string& p) {
        return MDB_EXISTE_PRODUCTO(RS, p, false, true);
    };
    f.consultas.nombre_formula = [&RS](const std::string& p, const std::string& f) {
        return MDB_NOMBRE_FORMULA(RS, p, f);
    };
    f.consultas.formula = [&RS](const std::string& p, const std::string& f) {
        return MDB_EXISTE_FORMULA(RS, p, f, false, true);
    };
    return f;
}

ModoIngreso modo_off_line(rt::TODBC& RS, datos::Maestros& maestros) {
    ModoIngreso m;
    m.formulario = formulario_off_line(RS);
    m.maestros = &maestros;
    const auto ilegible = [](const datos::Fallo&) {
        ui::MSGBOX("No se puede leer formula de producto");
    };
    m.actividades_ilegibles = ilegible;
    m.especificaciones_ilegibles = ilegible;
    m.operario.nombre = [&RS](double n) { return MDB_NOMBRE_OPERARIO(RS, n); };
    m.operario.valido = [&RS](double n) {
        return MDB_EXISTE_OPERARIO(RS, n, false, true) && MDB_OPERARIO_ACTIVO(RS, n, false, true);
    };
    // F8 once every item has an operator: the voucher is stored, pending.
    m.grabar = [&RS](ValeEnCurso& vale) {
        if (!GRABARVALE_LOCAL(RS, vale.aDatosCab, vale.aDatosItm)) return false;
        ui::MSGBOX("Vale de producción grabado correctamente"_oem);
        return true;
    };
    m.manejador = CTRL_ITEM2;
    m.proc_item = "CTRL_ITEM2";
    return m;
}

}  // namespace

void VALES_INGRESO_OFF_LINE() {
    VALES_INGRESO_OFF_LINE(rt::offline_connection_string());
}

void VALES_INGRESO_OFF_LINE(const std::string& conexion_local) {
    OperacionEnCurso operacion;
    rt::TODBC RS(conexion_local);
    // A store that cannot be opened (missing, unreadable, without its SQL functions) would
    // refuse every warehouse as unknown.
    if (!RS.Connected()) {
        ui::MSGBOX("ERROR: No se puede abrir la base de datos local " +
                   cp::Oem(std::string(rt::kOfflineStoreFile)));
        return;
    }
    // An older store gets the identities of vouchers, so that those typed now have theirs
    // (without them a voucher is still stored, and named by its content when sent).
    datos::asegurar_identidad_de_vales(RS);
    operacion.instalar_ayuda([&RS](const std::string& proc, int line, const std::string& campo) {
        VALES_HELP_OFF_LINE(RS, proc, line, campo);
    });
    datos::MaestrosLocales maestros(RS);
    ingresar_vales(modo_off_line(RS, maestros));
    RS.Close();
}

int CTRL_ITEM2(const ModoIngreso& modo, ValeEnCurso& vale, int /*mode*/, int item, int /*row*/) {
    return manejar_item(vale, item, comandos_de(modo));
}

}  // namespace vales
