#include "vales/fuera_de_linea/vales_rutinas.h"

#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

// Runs `sql` on `db`: whether a row came back (a failed statement found nothing).
bool found_by(rt::TODBC& db, const std::string& sql) {
    db.SetSQL(sql);
    return db.Open() && db.LastRec() >= 1;
}

// An existence lookup: at most one of its two messages.
bool exists(rt::TODBC& RS, const std::string& sql, bool msg_si_existe, bool msg_si_no_existe,
            cp::OemView si_existe, cp::OemView si_no_existe) {
    const bool found = found_by(RS, sql);
    if (found && msg_si_existe) ui::MSGBOX(si_existe);
    if (!found && msg_si_no_existe) ui::MSGBOX(si_no_existe);
    return found;
}

// A name lookup on `db`: the first row's `column` for the screen, exactly `width`
// characters, or blanks.
cp::Oem name_by(rt::TODBC& db, const std::string& sql, std::string_view column, std::size_t width,
                bool msg_si_no_existe, cp::OemView si_no_existe) {
    if (!found_by(db, sql)) {
        if (msg_si_no_existe) ui::MSGBOX(si_no_existe);
        return cp::Oem(width, ' ');
    }
    return cp::ansi_to_oem(db.FieldValue(column)).padded(width);
}

std::string quoted(std::string_view code) {
    return rt::mdb_quote(code);
}
std::string number(double n) {
    return rt::mdb_number(n);
}

const cp::Oem kCodigoExiste = "Código ya existe"_oem;
const cp::Oem kCodigoNoExiste = "Código no existe"_oem;

}  // namespace

bool MDB_EXISTE_BODEGA(rt::TODBC& RS, double bodega, bool msg_si_existe, bool msg_si_no_existe) {
    return exists(RS, "select * from bodegas where numero_bod=" + number(bodega), msg_si_existe,
                  msg_si_no_existe, "Bodega ya existe", "Bodega no existe");
}

bool MDB_EXISTE_PRODUCTO(rt::TODBC& RS, std::string_view producto, bool msg_si_existe,
                         bool msg_si_no_existe) {
    return exists(RS, "select codi_prod from prodvtas where codi_prod='" + quoted(producto) + "'",
                  msg_si_existe, msg_si_no_existe, kCodigoExiste, kCodigoNoExiste);
}

bool MDB_EXISTE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                        bool msg_si_existe, bool msg_si_no_existe) {
    return exists(RS,
                  "select * from prodvtas where codi_prod='" + quoted(producto) +
                      "' and codi_form='" + quoted(formula) + "'",
                  msg_si_existe, msg_si_no_existe, kCodigoExiste, kCodigoNoExiste);
}

bool MDB_EXISTE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_existe,
                         bool msg_si_no_existe) {
    return exists(RS, "select * from operario where codi_oper=" + number(operario), msg_si_existe,
                  msg_si_no_existe, "Operario ya existe", "Operario no existe");
}

bool MDB_OPERARIO_ACTIVO(rt::TODBC& RS, double operario, bool msg_si_activo, bool msg_si_inactivo,
                         bool msg_si_no_existe) {
    if (!found_by(RS, "select ope_activo from operario where codi_oper=" + number(operario))) {
        if (msg_si_no_existe) ui::MSGBOX("Operario no existe");
        return false;
    }
    const bool activo = RS.FieldValue("OPE_ACTIVO") == "1";
    if (activo && msg_si_activo) ui::MSGBOX("Usuario activo");
    if (!activo && msg_si_inactivo) ui::MSGBOX("Usuario no activo");
    return activo;
}

cp::Oem MDB_NOMBRE_PRODUCTO(rt::TODBC& RS, std::string_view producto, bool msg_si_no_existe) {
    rt::TODBC RSAUX(RS.ConnectionString());
    auto name =
        name_by(RSAUX, "select desc_prod from prodvtas where codi_prod='" + quoted(producto) + "'",
                "DESC_PROD", 50, msg_si_no_existe, kCodigoNoExiste);
    RSAUX.Close();
    RSAUX.Destroy();
    return name;
}

cp::Oem MDB_NOMBRE_FORMULA(rt::TODBC& RS, std::string_view producto, std::string_view formula,
                           bool msg_si_no_existe) {
    return name_by(RS,
                   "select desc_form from prodvtas where codi_prod='" + quoted(producto) +
                       "' and codi_form='" + quoted(formula) + "'",
                   "DESC_FORM", 50, msg_si_no_existe, kCodigoNoExiste);
}

cp::Oem MDB_NOMBRE_OPERARIO(rt::TODBC& RS, double operario, bool msg_si_no_existe) {
    return name_by(RS, "select nom_oper from operario where codi_oper=" + number(operario),
                   "NOM_OPER", 20, msg_si_no_existe, "Operario no existe");
}

}  // namespace vales
