#include "vales/mysql_operarios.h"

#include <cmath>
#include <string>
#include <vector>

#include "abm/consulta_sesion.h"
#include "abm/rutinas2.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/tables.h"
#include "vales/lista_busqueda.h"

namespace vales {
namespace {

namespace tablas = rt::wt::tables;

// Empties the table and fills it with the operators of a statement; false when the server
// refused the statement (it says why; the table keeps its rows).
bool llenar(rt::wt::WorkTable& t, const std::string& sql, bool con_estado) {
    auto res = abm::consulta(sql);
    if (abm::fallo(res)) {
        abm::MSGBOX("Error:" +
                    cp::ansi_to_oem(res ? res->Error() : std::string(rt::kNoConnection)));
        return false;
    }
    t.zap();
    for (long n = 1; n <= res->LastRec(); ++n) {
        const auto fila = res->GetRow(n);
        t.append();
        t.set_text("RUT", cp::ansi_to_oem(fila->FieldGet("rut").text()).str());
        t.set_text("DIGITO", cp::ansi_to_oem(fila->FieldGet("digito_verif").text()).str());
        t.set_text("NOMBRE", cp::ansi_to_oem(fila->FieldGet("nom_oper").text()).str());
        t.set_number("CODI_OPER", fila->FieldGet("codi_oper").number());
        if (con_estado) t.set_logical("L_ACTIVO", fila->FieldGet("ope_activo").logical());
    }
    t.go_top();
    return true;
}

std::string consulta_busqueda(ModoBusqueda modo, const cp::Oem& texto) {
    return "select rut, digito_verif, nom_oper, codi_oper from operario " +
           condicion_busqueda(modo, texto, "nom_oper", "rut",
                              [](std::string_view s) { return abm::sqltexto(s); });
}

std::vector<int> teclas_de(long operario) {
    std::vector<int> keys{rt::key::kHome};
    for (char d : std::to_string(operario)) keys.push_back(d);
    keys.push_back(rt::key::kEnter);
    return keys;
}

}  // namespace

void MYSQL_OPERARIOS(bool elegir) {
    const rt::SavedScreen pantalla = rt::con().save_screen();
    rt::con().set_colour("n/bg,r/w,,,n/w");
    TablaAyuda ayuda(tablas::operario(), tablas::kOperarioAlias, tablas::kOperarioKey,
                     cp::Oem(std::string(tablas::kOperarioOpenError)));
    rt::wt::WorkTable& t = ayuda.tabla();

    ListaBusqueda lista;
    lista.encabezado = cp::Oem("RUT        Nombre                                  ");
    lista.fila = [&t] {
        return cp::Oem(t.text("RUT") + "-" + t.text("DIGITO") + " " + t.text("NOMBRE"));
    };
    lista.teclas = {{cp::Oem(std::string("[\x18][\x19]   [F8] Filtro")), 31, 39, 40},
                    {cp::Oem("[Enter] Buscar / Opciones"), 32, 29, 60}};
    lista.carga_inicial = [&t] {
        llenar(t, "select * from operario where ope_activo order by nom_oper", true);
    };
    lista.buscar = [&t](ModoBusqueda modo, const cp::Oem& texto) {
        return llenar(t, consulta_busqueda(modo, texto), false);
    };
    lista.tecla_propia = [&t, elegir](int key, const EstadoBusqueda& estado) {
        const long operario = std::lround(t.number("CODI_OPER"));
        if (key != rt::key::kEnter || !elegir || operario == 0) return rt::BrowseKey::kShared;
        if (!estado.texto.empty() && estado.texto != estado.ultimo) return rt::BrowseKey::kShared;
        rt::con().put_keys(teclas_de(operario));
        return rt::BrowseKey::kLeave;
    };
    correr_lista_busqueda(t, lista);
    rt::con().restore_screen(pantalla);
}

}  // namespace vales
