#include "vales/ingreso/ayuda_operarios.h"

#include <cmath>
#include <vector>

#include "abm/lista_busqueda.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"

namespace vales {
namespace {

namespace tablas = ui::tablas;

std::vector<int> teclas_de(long operario) {
    std::vector<int> keys{rt::key::kHome};
    for (char d : std::to_string(operario)) keys.push_back(d);
    keys.push_back(rt::key::kEnter);
    return keys;
}

}  // namespace

void agregar_operario(rt::wt::WorkTable& t, const std::string& rut, const std::string& digito,
                      const std::string& nombre, double codigo, bool activo) {
    t.append();
    t.set_text("RUT", cp::ansi_to_oem(rut).str());
    t.set_text("DIGITO", cp::ansi_to_oem(digito).str());
    t.set_text("NOMBRE", cp::ansi_to_oem(nombre).str());
    t.set_number("CODI_OPER", codigo);
    t.set_logical("L_ACTIVO", activo);
}

std::string busqueda_operarios(abm::ModoBusqueda modo, const cp::Oem& texto,
                               const abm::Comillas& comillas) {
    return "select rut, digito_verif, nom_oper, codi_oper from operario " +
           abm::condicion_busqueda(modo, texto, "nom_oper", "rut", comillas);
}

void correr_ayuda_operarios(bool elegir, const FuenteOperarios& fuente) {
    ui::Resguardo resguardo("n/bg,r/w,,,n/w");
    abm::TablaLista ayuda(ui::NOMARCH2("dbf", "temp/"), tablas::operario(), tablas::kOperarioAlias,
                          cp::OemView::cp850(tablas::kOperarioOpenError));
    ayuda.indice(ui::NOMARCH2("ntx", "temp/"), tablas::kOperarioKey);
    rt::wt::WorkTable& t = *ayuda;

    abm::DisenoLista lista;
    lista.encabezado = cp::Oem("RUT        Nombre                                  ");
    lista.fila = [&t] {
        return cp::Oem(t.text("RUT") + "-" + t.text("DIGITO") + " " + t.text("NOMBRE"));
    };
    lista.teclas = {{cp::Oem(std::string("[\x18][\x19]   [F8] Filtro")), 31, 39, 40},
                    {cp::Oem("[Enter] Buscar / Opciones"), 32, 29, 60}};
    lista.color_campo = "+bg/bg";
    lista.teclear_quita_filtro = fuente.teclear_quita_filtro;
    lista.carga_inicial = [&t, &fuente] {
        fuente.carga_inicial(t);
        return true;
    };
    lista.buscar = [&t, &fuente](abm::ModoBusqueda modo, const cp::Oem& texto) {
        return fuente.buscar(t, modo, texto);
    };
    lista.tecla_propia = [&t, elegir](int key, abm::ListaBusqueda& l) {
        const long operario = std::lround(t.number("CODI_OPER"));
        if (key != rt::key::kEnter || !elegir || operario == 0 || !l.busqueda().buscada())
            return rt::BrowseKey::kShared;
        rt::con().put_keys(teclas_de(operario));
        return rt::BrowseKey::kLeave;
    };
    abm::ListaBusqueda(t, std::move(lista)).correr();
}

}  // namespace vales
