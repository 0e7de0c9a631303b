#include "vales/lista_busqueda.h"

#include "abm/rutinas2.h"
#include "abm/salir.h"
#include "runtime/common/codepage.h"
#include "runtime/common/sql_like.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/workspace.h"

namespace vales {
namespace {

constexpr std::size_t kLargoBusqueda = 50;
constexpr cp::OemView kMarcoDoble = cp::OemView::cp850("\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA ");
constexpr cp::OemView kLinea8 = cp::OemView::cp850("\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4");
constexpr int kFilaLineaAlta = 26, kFilaEstado = 28, kFilaBuscar = 29, kFilaFinMarco = 33;

// A character the search text takes, in upper case; 0 for any other key.
char caracter_de_busqueda(int key) {
    if (key == 164 || key == 165) return static_cast<char>(165);  // ñ Ñ
    if (key < 32 || key > 122) return 0;
    if (key >= 'a' && key <= 'z') return static_cast<char>(key - 'a' + 'A');
    return static_cast<char>(key);
}

class Busqueda {
  public:
    Busqueda(rt::wt::WorkTable& tabla, const ListaBusqueda& lista)
        : tabla_(tabla),
          lista_(lista),
          browser_(tabla, lista.top, lista.left, lista.bottom, lista.right) {
        browser_.add_column(lista.encabezado, lista.fila);
        browser_.set_colour("w/bg,+w/r");
        browser_.set_heading_separator(cp::OemView::cp850("\xC4\xC2\xC4"));
        browser_.set_column_separator(cp::OemView::cp850(" \xB3 "));
    }

    void correr() {
        dibujar_marco();
        if (lista_.carga_inicial) lista_.carga_inicial();
        browser_.go_top();
        rt::browse_keys(
            browser_, [this](int key) { return tecla(key); }, lista_.tras_estabilizar);
    }

  private:
    void dibujar_marco();
    rt::BrowseKey tecla(int key);
    // The shared keys that change the search; false for any other key.
    bool tecla_de_busqueda(int key);
    void buscar(ModoBusqueda modo);
    void vaciar();
    void mostrar_estado(bool recien_buscado);

    rt::wt::WorkTable& tabla_;
    const ListaBusqueda& lista_;
    rt::Browser browser_;
    EstadoBusqueda estado_;
};

void Busqueda::dibujar_marco() {
    rt::Console& c = rt::con();
    const int izq = lista_.left, der = lista_.right;
    c.fill_box(lista_.top - 1, izq - 1, kFilaFinMarco, der + 1, kMarcoDoble, "+gr/bg");
    c.fill_box(kFilaLineaAlta, izq, kFilaLineaAlta, der, rt::kSingleFrame, "w/bg");
    c.fill_box(kFilaEstado, izq, kFilaEstado, der, rt::kSingleFrame, "w/bg");
    c.write_at(kFilaBuscar, lista_.columna_buscar, "Buscar:<", "w/bg");
    c.write_at(kFilaBuscar, lista_.columna_buscar + 8 + static_cast<int>(kLargoBusqueda), ">",
               "w/bg");
    for (const LineaTeclas& t : lista_.teclas)
        abm::MSG(t.texto, t.fila, t.columna, t.ancho, "w/bg", "+gr/bg");
}

rt::BrowseKey Busqueda::tecla(int key) {
    if (lista_.tecla_propia) {
        const rt::BrowseKey propia = lista_.tecla_propia(key, estado_);
        if (propia != rt::BrowseKey::kShared) return propia;
    }
    if (key == rt::key::kEsc) return rt::BrowseKey::kLeave;
    if (browser_.apply_key(key)) return rt::BrowseKey::kHandled;
    tecla_de_busqueda(key);
    return rt::BrowseKey::kHandled;
}

bool Busqueda::tecla_de_busqueda(int key) {
    cp::Oem& texto = estado_.texto;
    switch (key) {
        case rt::key::kF8:
            if (texto.empty()) return false;
            buscar(ModoBusqueda::kFiltro);
            return true;
        case rt::key::kEnter:
            if (texto.empty() || texto == estado_.ultimo) return false;
            buscar(ModoBusqueda::kPrefijo);
            return true;
        case rt::key::kDel:
            if (texto.empty()) return false;
            texto = cp::Oem();
            vaciar();
            mostrar_estado(false);
            return true;
        case rt::key::kBackspace:
            if (texto.empty()) return false;
            texto = texto.substr(0, texto.size() - 1);
            if (!texto.empty()) {
                buscar(ModoBusqueda::kPrefijo);
            } else {
                vaciar();
                mostrar_estado(false);
            }
            return true;
        default:
            break;
    }
    const char ch = caracter_de_busqueda(key);
    if (ch == 0 || texto.size() >= kLargoBusqueda) return false;
    if (ch == ' ' && texto.empty()) return false;
    texto += cp::Oem(std::string(1, ch));
    mostrar_estado(false);
    return true;
}

void Busqueda::buscar(ModoBusqueda modo) {
    rt::Console& c = rt::con();
    estado_.ultimo = estado_.texto;
    estado_.filtro = modo == ModoBusqueda::kFiltro;
    const int col = lista_.columna_buscando;
    c.fill_box(20, col, 22, col + 15, rt::kSingleFrameFilled, "+w/r");
    c.write_at(21, col + 2, "Buscando...", "+gr/r");
    c.flush();
    if (lista_.buscar(modo, estado_.texto)) {
        estado_.cuenta = static_cast<long>(tabla_.rec_count());
        browser_.go_top();
    }
    browser_.refresh_all();  // also over the "Buscando..." box when the search failed
    mostrar_estado(true);
}

void Busqueda::vaciar() {
    estado_.cuenta = 0;
    tabla_.zap();
    browser_.go_top();
    browser_.refresh_all();
}

void Busqueda::mostrar_estado(bool recien_buscado) {
    rt::Console& c = rt::con();
    c.write_at(kFilaEstado, lista_.columna_filtro,
               estado_.filtro ? cp::OemView("(filtro)") : kLinea8, "w/bg");
    c.write_at(kFilaEstado, lista_.columna_cuenta, kLinea8, "w/bg");
    std::string cuenta = "(";
    cuenta.append(std::to_string(estado_.cuenta)).append(")");
    c.write_at(kFilaEstado, lista_.columna_cuenta, cp::Oem(std::move(cuenta)), "w/bg");
    const int col = lista_.columna_buscar + 8;
    c.write_at(kFilaBuscar, col, cp::Oem(kLargoBusqueda, ' '), "+bg/bg");
    c.write_at(kFilaBuscar, col, estado_.texto, recien_buscado ? "+w/bg" : "+g/bg");
}

// Fresh names for a table or index file in temp/: made until none of that name exists.
std::string nombre_temporal(std::string_view extension) {
    return rt::wt::native_path(abm::NOMARCH2(extension, "temp/"));
}

}  // namespace

void correr_lista_busqueda(rt::wt::WorkTable& tabla, const ListaBusqueda& lista) {
    rt::Console& c = rt::con();
    const rt::SavedScreen pantalla = c.save_screen();
    c.set_colour("n/bg,r/w,,,n/w");
    Busqueda(tabla, lista).correr();
    c.restore_screen(pantalla);
}

std::string condicion_busqueda(ModoBusqueda modo, const cp::Oem& texto, std::string_view col_nombre,
                               std::string_view col_codigo,
                               const std::function<std::string(std::string_view)>& comillas) {
    const auto like = [&](std::string_view columna, const std::string& patron) {
        return std::string(columna) + " like '" + patron + "'" + std::string(rt::kLikeEscape);
    };
    const auto literal = [&](const std::string& ansi) { return comillas(rt::like_literal(ansi)); };
    // Built by appending: GCC 12 at -O3 reports false overlaps on "literal" + string.
    const auto en_medio = [&](const std::string& ansi) {
        std::string patron = "%";
        patron.append(literal(ansi)).append("%");
        return patron;
    };
    if (modo == ModoBusqueda::kPrefijo)
        return "where " + like(col_nombre, literal(cp::oem_to_ansi(texto)) + "%") + " ";
    const std::vector<std::string> palabras = abm::CTOARR(cp::oem_to_ansi(texto));
    if (palabras.size() == 1) {
        const std::string w = en_medio(palabras[0]);
        return "where (" + like(col_nombre, w) + " or " + like(col_codigo, w) + ") ";
    }
    std::string condicion = "where (";
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        if (i > 0) condicion += " and ";
        condicion += like(col_nombre, en_medio(palabras[i])) + " ";
    }
    return condicion + ") ";
}

TablaAyuda::TablaAyuda(const rt::wt::Structure& estructura, std::string_view alias,
                       std::string_view clave, cp::OemView error_apertura)
    : ruta_(nombre_temporal("dbf")) {
    rt::wt::Workspace& ws = rt::wt::workspace();
    if (ws.create(ruta_, estructura)) tabla_ = ws.open(ruta_, alias);
    if (!tabla_) {
        abm::MSGBOX(error_apertura);
        abm::SALIR();
    }
    agregar_indice(clave);
}

TablaAyuda::~TablaAyuda() {
    rt::wt::Workspace& ws = rt::wt::workspace();
    ws.close_area(tabla_->area());
    ws.erase(ruta_);
    for (const std::string& indice : indices_) ws.erase(indice);
}

bool TablaAyuda::agregar_indice(std::string_view clave) {
    const std::string indice = nombre_temporal("ntx");
    const bool hecho =
        indices_.empty() ? tabla_->create_index(indice, clave) : tabla_->add_index(indice, clave);
    if (hecho) indices_.push_back(indice);
    return hecho;
}

}  // namespace vales
