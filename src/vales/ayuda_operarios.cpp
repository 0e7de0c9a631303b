#include "vales/ayuda_operarios.h"

#include <cmath>
#include <vector>

#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/tables.h"

namespace vales {
namespace {

namespace tablas = rt::wt::tables;

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

std::string busqueda_operarios(ModoBusqueda modo, const cp::Oem& texto,
                               const std::function<std::string(std::string_view)>& comillas) {
    return "select rut, digito_verif, nom_oper, codi_oper from operario " +
           condicion_busqueda(modo, texto, "nom_oper", "rut", comillas);
}

void correr_ayuda_operarios(bool elegir, const FuenteOperarios& fuente) {
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
    lista.carga_inicial = [&t, &fuente] { fuente.carga_inicial(t); };
    lista.buscar = [&t, &fuente](ModoBusqueda modo, const cp::Oem& texto) {
        return fuente.buscar(t, modo, texto);
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
