// Existence, state and name lookups of master data on the server. Each issues one
// statement and releases its result before returning; a failing statement counts as one
// that found nothing.
#include "abm/abm_rutinas.h"

#include "abm/consulta_sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

const cp::Oem& kCodigoYaExiste() {
    static const cp::Oem s = "Código ya existe"_oem;
    return s;
}
const cp::Oem& kCodigoNoExiste() {
    static const cp::Oem s = "Código no existe"_oem;
    return s;
}

// The common end of the existence lookups: at most one of the two messages.
bool existencia(bool found, bool msg_if_found, bool msg_if_missing, cp::OemView found_text,
                cp::OemView missing_text) {
    if (found && msg_if_found) ui::MSGBOX(found_text);
    if (!found && msg_if_missing) ui::MSGBOX(missing_text);
    return found;
}

// The first column of the first row as console text padded or cut to `width`; blanks when
// nothing was found.
cp::Oem nombre(std::string_view sql, std::size_t width, bool msg_if_missing,
               cp::OemView missing_text) {
    std::string name;
    bool found = false;
    {
        auto res = consulta(sql);
        if (hay_filas(res)) {
            found = true;
            name = res->FieldGet(1).text();
        }
    }
    if (!found && msg_if_missing) ui::MSGBOX(missing_text);
    return cp::ansi_to_oem(name).padded(width);
}

}  // namespace

bool EXISTE_PRODUCTO(std::string_view code, bool msg_if_found, bool msg_if_missing) {
    const bool found =
        hay_filas(consulta("select * from prodvtas where codi_prod='" + sqltexto(code) + "'"));
    return existencia(found, msg_if_found, msg_if_missing, kCodigoYaExiste(), kCodigoNoExiste());
}

bool EXISTE_FORMULA(std::string_view product, std::string_view formula, bool msg_if_found,
                    bool msg_if_missing) {
    const bool found =
        hay_filas(consulta("select * from prodvtas where codi_prod='" + sqltexto(product) +
                           "' and codi_form='" + sqltexto(formula) + "'"));
    return existencia(found, msg_if_found, msg_if_missing, kCodigoYaExiste(), kCodigoNoExiste());
}

bool EXISTE_BODEGA(double number, bool msg_if_found, bool msg_if_missing, bool check_active) {
    bool found = false, active = false;
    {
        auto res = consulta("select l_activo from bodegas where numero_bod=" + sqlnum(number));
        found = hay_filas(res);
        if (found) active = res->FieldGet(1).logical();
    }
    if (found && check_active && !active) {
        ui::MSGBOX("Bodega no activa");
        return false;
    }
    return existencia(found, msg_if_found, msg_if_missing, kCodigoYaExiste(), kCodigoNoExiste());
}

bool EXISTE_OPERARIO(double number, bool msg_if_found, bool msg_if_missing) {
    const bool found =
        hay_filas(consulta("select * from operario where codi_oper=" + sqlnum(number)));
    return existencia(found, msg_if_found, msg_if_missing, "Operario ya existe",
                      "Operario no existe");
}

bool OPERARIO_ACTIVO(double number, bool msg_if_active, bool msg_if_inactive, bool msg_if_missing) {
    bool found = false, active = false;
    {
        auto res = consulta("select ope_activo from operario where codi_oper=" + sqlnum(number));
        found = hay_filas(res);
        if (found) active = res->FieldGet(1).logical();
    }
    if (!found) {
        if (msg_if_missing) ui::MSGBOX("Operario no existe");
        return false;
    }
    if (active && msg_if_active) ui::MSGBOX("Usuario activo");
    if (!active && msg_if_inactive) ui::MSGBOX("Usuario no activo");
    return active;
}

cp::Oem NOMBRE_PRODUCTO(std::string_view code, bool msg_if_missing) {
    return nombre("select desc_prod from prodvtas where codi_prod='" + sqltexto(code) + "'", 50,
                  msg_if_missing, kCodigoNoExiste());
}

cp::Oem NOMBRE_FORMULA(std::string_view product, std::string_view formula, bool msg_if_missing) {
    return nombre("select desc_form from prodvtas where codi_prod='" + sqltexto(product) +
                      "' and codi_form='" + sqltexto(formula) + "'",
                  50, msg_if_missing, kCodigoNoExiste());
}

cp::Oem NOMBRE_OPERARIO(double number, bool msg_if_missing) {
    return nombre("select nom_oper from operario where codi_oper=" + sqlnum(number), 20,
                  msg_if_missing, "Operario no existe");
}

cp::Oem UNIDAD_MEDIDA(std::string_view kind, std::string_view code, std::string_view formula) {
    const std::string sql =
        kind == "I" ? "select unid_med from prodcmp where codi_prod='" + sqltexto(code) + "'"
                    : "select unid_med from prodvtas where codi_prod='" + sqltexto(code) +
                          "' and codi_form='" + sqltexto(formula) + "'";
    return nombre(sql, 3, false, {});
}

}  // namespace abm
