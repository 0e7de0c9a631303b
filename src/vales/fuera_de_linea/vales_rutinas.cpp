// The off-line store's lookups as the off-line entry uses them: the data library answers
// them on the store's copies (datos/maestros.h), and these show what their flags ask for.
#include "vales/fuera_de_linea/vales_rutinas.h"

#include "abm/mensajes_consulta.h"
#include "datos/maestros.h"
#include "runtime/common/codepage.h"

namespace vales {
namespace {

using abm::existencia;
using abm::nombre_en_pantalla;

const cp::Oem kCodigoExiste = "Código ya existe"_oem;
const cp::Oem kCodigoNoExiste = "Código no existe"_oem;

}  // namespace

bool MDB_EXISTE_BODEGA(rt::TODBC& RS, double bodega, bool msg_si_existe, bool msg_si_no_existe) {
    return existencia(datos::MaestrosLocales(RS).bodega(bodega).has_value(), msg_si_existe,
                      msg_si_no_existe, "Bodega ya existe", "Bodega no existe");
}

bool MDB_EXISTE_PRODUCTO(rt::TODBC& RS, std::string_view producto, bool msg_si_existe,
                         bool msg_si_no_existe) {
    return existencia(datos::MaestrosLocales(RS).producto(producto), msg_si_existe,
                      msg_si_no_existe, kCodigoExiste, kCodigoNoExiste);
}

bool MDB_EXISTE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                        bool msg_si_existe, bool msg_si_no_existe) {
    return existencia(datos::MaestrosLocales(RS).formula(producto, formula), msg_si_existe,
                      msg_si_no_existe, kCodigoExiste, kCodigoNoExiste);
}

bool MDB_EXISTE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_existe,
                         bool msg_si_no_existe) {
    return existencia(datos::MaestrosLocales(RS).operario(operario), msg_si_existe,
                      msg_si_no_existe, "Operario ya existe", "Operario no existe");
}

bool MDB_OPERARIO_ACTIVO(rt::TODBC& RS, double operario, bool msg_si_activo, bool msg_si_inactivo,
                         bool msg_si_no_existe) {
    return abm::estado_operario(datos::MaestrosLocales(RS).operario_activo(operario), msg_si_activo,
                                msg_si_inactivo, msg_si_no_existe);
}

cp::Oem MDB_NOMBRE_PRODUCTO(rt::TODBC& RS, std::string_view producto, bool msg_si_no_existe) {
    return nombre_en_pantalla(datos::MaestrosLocales(RS).nombre_producto(producto), 50,
                              msg_si_no_existe, kCodigoNoExiste);
}

cp::Oem MDB_NOMBRE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                           bool msg_si_no_existe) {
    return nombre_en_pantalla(datos::MaestrosLocales(RS).nombre_formula(producto, formula), 50,
                              msg_si_no_existe, kCodigoNoExiste);
}

cp::Oem MDB_NOMBRE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_no_existe) {
    return nombre_en_pantalla(datos::MaestrosLocales(RS).nombre_operario(operario), 20,
                              msg_si_no_existe, "Operario no existe");
}

}  // namespace vales
