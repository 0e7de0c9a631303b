// Existence, state and name lookups of master data on the server, as the screens use them:
// the data library answers them (datos/maestros.h), and these show what their flags ask for.
#include "abm/abm_rutinas.h"

#include "abm/mensajes_consulta.h"
#include "datos/maestros.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

datos::MaestrosServidor maestros() {
    return datos::MaestrosServidor(datos::ses().OSERVER.get());
}

const cp::Oem& kCodigoYaExiste() {
    static const cp::Oem s = "Código ya existe"_oem;
    return s;
}
const cp::Oem& kCodigoNoExiste() {
    static const cp::Oem s = "Código no existe"_oem;
    return s;
}

}  // namespace

bool EXISTE_PRODUCTO(std::string_view code, bool msg_if_found, bool msg_if_missing) {
    return existencia(maestros().producto(code), msg_if_found, msg_if_missing, kCodigoYaExiste(),
                      kCodigoNoExiste());
}

bool EXISTE_FORMULA(std::string_view product, std::string_view formula, bool msg_if_found,
                    bool msg_if_missing) {
    return existencia(maestros().formula(product, formula), msg_if_found, msg_if_missing,
                      kCodigoYaExiste(), kCodigoNoExiste());
}

bool EXISTE_BODEGA(double number, bool msg_if_found, bool msg_if_missing, bool check_active) {
    const std::optional<bool> activa = maestros().bodega(number);
    if (activa && check_active && !*activa) {
        ui::MSGBOX("Bodega no activa");
        return false;
    }
    return existencia(activa.has_value(), msg_if_found, msg_if_missing, kCodigoYaExiste(),
                      kCodigoNoExiste());
}

bool EXISTE_OPERARIO(double number, bool msg_if_found, bool msg_if_missing) {
    return existencia(maestros().operario(number), msg_if_found, msg_if_missing,
                      "Operario ya existe", "Operario no existe");
}

bool OPERARIO_ACTIVO(double number, bool msg_if_active, bool msg_if_inactive, bool msg_if_missing) {
    return estado_operario(maestros().operario_activo(number), msg_if_active, msg_if_inactive,
                           msg_if_missing);
}

cp::Oem NOMBRE_PRODUCTO(std::string_view code, bool msg_if_missing) {
    return nombre_en_pantalla(maestros().nombre_producto(code), 50, msg_if_missing,
                              kCodigoNoExiste());
}

cp::Oem NOMBRE_FORMULA(std::string_view product, std::string_view formula, bool msg_if_missing) {
    return nombre_en_pantalla(maestros().nombre_formula(product, formula), 50, msg_if_missing,
                              kCodigoNoExiste());
}

cp::Oem NOMBRE_OPERARIO(double number, bool msg_if_missing) {
    return nombre_en_pantalla(maestros().nombre_operario(number), 20, msg_if_missing,
                              "Operario no existe");
}

cp::Oem UNIDAD_MEDIDA(std::string_view kind, std::string_view code, std::string_view formula) {
    return nombre_en_pantalla(maestros().unidad_medida(kind, code, formula), 3, false, {});
}

}  // namespace abm
