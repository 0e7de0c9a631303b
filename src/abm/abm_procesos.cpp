// The process catalogue: the list of the server's processes, loaded whole into a work table
// and narrowed by a search text, and the form that adds and modifies one process.
#include "abm/abm_procesos.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "abm/abm_rutinas.h"
#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/lista_busqueda.h"
#include "abm/observaciones.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/form.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "ui/tablas_trabajo.h"

namespace abm {

namespace {

namespace tablas = ui::tablas;

constexpr std::string_view kPermisoTablas = "acc_add_tablas_codificacion";
constexpr int kAnchoNombre = 40;

void llenar(rt::wt::WorkTable& t, TMySQLQuery& res) {
    t.zap();
    for (long n = 1; n <= res.LastRec(); ++n) {
        const auto fila = res.GetRow(n);
        t.append();
        t.set_text("CODIGO", cp::ansi_to_oem(fila->FieldGet("codi_proceso").text()).str());
        t.set_text("DESCRIP", cp::ansi_to_oem(fila->FieldGet("nombre_proceso").text()).str());
    }
}

// The list of processes while it runs.
class ListaProcesos {
  public:
    ListaProcesos(rt::wt::WorkTable& tabla, bool seleccion, bool teclear,
                  const std::optional<TeclaExtra>& extra)
        : tabla_(tabla), seleccion_(seleccion), teclear_(teclear), extra_(extra) {}

    std::string correr() {
        ListaBusqueda(tabla_, diseno()).correr();
        return elegido_;
    }

  private:
    DisenoLista diseno() {
        DisenoLista d;
        d.top = 5, d.left = 27, d.bottom = 27, d.right = 90;
        d.titulo = cp::Oem("<Procesos>");
        d.encabezado = "Cód   Descripción"_oem;
        d.fila = [this] {
            return cp::Oem(tabla_.text("CODIGO")) + " " + cp::Oem(tabla_.text("DESCRIP"));
        };
        d.teclas = {
            {cp::Oem(std::string("[\x18][\x19]   [Enter] Buscar/Seleccionar   [F8] Filtro")), 31,
             29, 60},
            {cp::Oem("[INS] Agregar    [Control+Enter] Modificar"), 32, 29, 60}};
        // The whole table at first: its rows are the count.
        d.carga_inicial = [this] {
            return buscar_en_servidor("select * from procesos order by nombre_proceso",
                                      [this](TMySQLQuery& res) { llenar(tabla_, res); });
        };
        d.carga_cuenta = true;
        d.buscar = [this](ModoBusqueda modo, const cp::Oem& texto) {
            return buscar_en_servidor(
                "select * from procesos " +
                    condicion_busqueda(modo, texto, "nombre_proceso", {}, sqltexto),
                [this](TMySQLQuery& res) { llenar(tabla_, res); });
        };
        d.tecla_propia = [this](int key, ListaBusqueda& lista) { return tecla(key, lista); };
        return d;
    }

    rt::BrowseKey tecla(int key, ListaBusqueda& lista) {
        using rt::BrowseKey;
        namespace k = rt::key;
        if (extra_ && extra_->accion && key == extra_->tecla) {
            extra_->accion();
            return BrowseKey::kHandled;
        }
        switch (key) {
            case k::kLeft:
                return BrowseKey::kHandled;
            case k::kIns:
                if (SISTEMA_PERMITE(kPermisoTablas) && EDIT_PROCESO())
                    lista.browser().refresh_all();
                return BrowseKey::kHandled;
            case k::kCtrlEnter:
                if (EDIT_PROCESO(rt::trim(cp::oem_to_ansi(cp::Oem(tabla_.text("CODIGO")))),
                                 SISTEMA_PERMITE(kPermisoTablas, {}, false)))
                    lista.browser().refresh_all();
                return BrowseKey::kHandled;
            case k::kEnter:
                if (!seleccion_ || !hay_codigo(tabla_) || !lista.busqueda().buscada())
                    return BrowseKey::kShared;
                elegir();
                return BrowseKey::kLeave;
            default:
                return BrowseKey::kShared;
        }
    }

    void elegir() {
        const std::string codigo = tabla_.text("CODIGO");
        if (teclear_) {
            std::vector<int> teclas{rt::key::kHome};
            for (unsigned char ch : codigo) teclas.push_back(ch);
            teclas.push_back(rt::key::kEnter);
            rt::con().put_keys(teclas);
        } else {
            elegido_ = cp::oem_to_ansi(cp::Oem(codigo));
        }
    }

    rt::wt::WorkTable& tabla_;
    bool seleccion_, teclear_;
    const std::optional<TeclaExtra>& extra_;
    std::string elegido_;
};

}  // namespace

std::string ABM_PROCESOS(bool seleccion, bool teclear, const std::optional<TeclaExtra>& extra) {
    ui::Resguardo resguardo("n/bg,r/w,,,n/w");
    TablaLista tabla(ui::NOMARCH("dbf", "temp/"), tablas::procesos(), tablas::kProcesosAlias,
                     cp::OemView::cp850(tablas::kProcesosOpenError));
    tabla.indice(ui::NOMARCH("ntx", "temp/"), tablas::kProcesosKey);
    return ListaProcesos(*tabla, seleccion, teclear, extra).correr();
}

bool EXISTE(std::string_view codigo, bool mensaje) {
    const bool existe =
        hay_filas(consulta("select * from procesos where codi_proceso='" + sqltexto(codigo) + "'"));
    if (existe && mensaje) ui::MSGBOX("Código ya existe"_oem);
    return existe;
}

namespace {

// The values of the process form.
struct Proceso {
    cp::Oem codigo, nombre;
    std::string observaciones;        // as stored
    std::string nombre_guardado;      // written back unchanged while its field is not edited
    std::vector<std::string> leidos;  // the columns the form writes, as read
};

// What the form writes: a change is stored only while the row still holds what was read.
const std::vector<std::string> kColumnasDelFormulario = {"nombre_proceso", "observaciones"};

std::optional<Proceso> leer_proceso(std::string_view codigo, bool nuevo) {
    auto res =
        consulta(nuevo ? std::string("select * from procesos limit 1")
                       : "select * from procesos where codi_proceso='" + sqltexto(codigo) + "'");
    if (fallo(res)) {
        mostrar_error(res);
        return std::nullopt;
    }
    // A process removed since the list was loaded cannot be modified: storing its form
    // would change nothing on the server and still say it was stored.
    if (res->LastRec() > 1 || (!nuevo && res->LastRec() == 0)) {
        ui::MSGBOX("Error en base de datos...");
        return std::nullopt;
    }
    const std::size_t ancho = ancho_columna(*res, "nombre_proceso", kAnchoNombre);
    Proceso p{cp::Oem(" "), cp::Oem(ancho, ' '), {}, {}, {}};
    if (!nuevo) {
        p.codigo = cp::ansi_to_oem(res->FieldGet("codi_proceso").text());
        p.nombre = cp::ansi_to_oem(res->FieldGet("nombre_proceso").text()).padded(ancho);
        p.observaciones = res->FieldGet("observaciones").text();
        p.nombre_guardado = rt::rtrim(res->FieldGet("nombre_proceso").text());
        p.leidos = datos::textos(*res->GetRow(1), kColumnasDelFormulario);
    }
    return p;
}

// Stores the form: true when stored. A change another user stored first is not undone:
// `cambiado` tells the caller to read the process again.
bool grabar_proceso(const Proceso& p, const cp::Oem& observaciones, bool nuevo, bool& cambiado) {
    // Texts left as they were go back as they were stored.
    std::string obs = cp::oem_to_ansi_keeping(observaciones, p.observaciones);
    std::replace(obs.begin(), obs.end(), '\'', '"');
    const std::string codigo = sqltexto(cp::oem_to_ansi(p.codigo));
    // Without the blanks that fill the field.
    const std::string nombre = cp::oem_to_ansi_keeping(p.nombre.right_trimmed(), p.nombre_guardado);
    const std::string donde = " where codi_proceso='" + codigo + "'";
    const datos::Escritura e =
        nuevo ? escribir("Insert into procesos set codi_proceso='" + codigo + "',nombre_proceso='" +
                         sqltexto(nombre) + "',observaciones='" + sqltexto(obs) + "'")
              : escribir_si_sigue_igual(
                    "select nombre_proceso, observaciones from procesos" + donde, p.leidos,
                    "update procesos set nombre_proceso='" + sqltexto(rt::trim(nombre)) +
                        "', observaciones='" + sqltexto(obs) + "'" + donde);
    cambiado = e.estado == datos::Escritura::cambiada;
    if (!grabacion_hecha(e, Aviso::alerta,
                         "El proceso fue modificado por otro usuario: se vuelve a leer"))
        return false;
    rt::wt::WorkTable* t = rt::wt::workspace().current();
    if (t && t->field_pos("CODIGO") >= 0 && t->field_pos("DESCRIP") >= 0) {
        if (nuevo) t->append();
        t->set_text("CODIGO", p.codigo.str());
        t->set_text("DESCRIP", p.nombre.str());
    }
    return true;
}

}  // namespace

bool EDIT_PROCESO(std::string_view codigo, bool puede_modificar) {
    ui::Resguardo resguardo("+g/n,+w/r,,,w/n");
    const bool nuevo = rt::trim(codigo).empty();
    for (bool cambiado = true; cambiado;) {
        std::optional<Proceso> leido = leer_proceso(codigo, nuevo);
        if (!leido) return false;
        Proceso p = *leido;

        rt::Console& c = rt::con();
        ui::BOX(8, 32, 30, 92, "+bg/n");
        c.write_at(8, 33, nuevo ? cp::OemView("<Agregar>") : cp::OemView("<Modificar>"), "+gr/n");
        rt::Form form;
        c.write_at(9, 33, "Codigo:");
        form.field(
            9, 41, p.codigo, "cxCodigo", "!",
            [&] { return !p.codigo.trimmed().empty() && !EXISTE(cp::oem_to_ansi(p.codigo), true); },
            [&] { return nuevo; });
        c.write_at(10, 33, "Descripción:"_oem);
        form.field(10, 46, p.nombre, "cxDescrip", "", [&] { return !p.nombre.trimmed().empty(); });
        ui::DISPLINEA(11, 32, 92, "+bg/n");
        c.write_at(12, 33, "Observaciones:");
        Observaciones obs(cp::ansi_to_oem(p.observaciones), rt::MemoWindow{13, 33, 29, 91});
        if (!obs.leer(form, "EDIT_PROCESO", puede_modificar, 30, 45,
                      "[Control+W]Grabar    [Esc]Salir"))
            return false;
        if (grabar_proceso(p, obs.texto(), nuevo, cambiado)) return true;
    }
    return false;
}

}  // namespace abm
