#include "abm/productos_tabla.h"

#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "runtime/common/codepage.h"

namespace abm {

bool es_tabla_de_productos(const rt::wt::WorkTable& t) {
    for (const char* f : {"CODIGO", "CODI_FORM", "DESCRIP", "DESC_FORM", "L_ACTIVO", "L_VIGENTE"})
        if (t.field_pos(f) < 0) return false;
    return true;
}

void llenar_productos(rt::wt::WorkTable& t, TMySQLQuery& res) {
    t.zap();
    for (long n = 1; n <= res.LastRec(); ++n) {
        const auto fila = res.GetRow(n);
        t.append();
        t.set_text("CODIGO", cp::ansi_to_oem(fila->FieldGet(1).text()).str());
        t.set_text("CODI_FORM", cp::ansi_to_oem(fila->FieldGet(2).text()).str());
        t.set_text("DESCRIP", cp::ansi_to_oem(fila->FieldGet(3).text()).str());
        t.set_text("DESC_FORM", cp::ansi_to_oem(fila->FieldGet(4).text()).str());
        t.set_logical("L_ACTIVO", fila->FieldGet(5).logical());
        t.set_logical("L_VIGENTE", fila->FieldGet(6).logical());
    }
}

bool releer_marcas(rt::wt::WorkTable& t, std::string_view codigo, std::string_view formula) {
    auto res = consulta("select l_vigente, l_activo from prodvtas where codi_prod='" +
                        sqltexto(codigo) + "' and codi_form='" + sqltexto(formula) + "' ");
    if (fallo(res)) {
        mostrar_error(res);
        return false;
    }
    t.set_logical("L_VIGENTE", res->FieldGet("l_vigente").logical());
    t.set_logical("L_ACTIVO", res->FieldGet("l_activo").logical());
    return true;
}

}  // namespace abm
