#include "abm/busqueda.h"

#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/rutinas2.h"
#include "runtime/common/codepage.h"
#include "runtime/common/sql_like.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"

namespace abm {

namespace {

constexpr int kFilaEstado = 28, kFilaTexto = 29;
constexpr std::string_view kColorEstado = "w/bg";
const cp::OemView kLinea8 = cp::OemView::cp850("\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4");

constexpr int kEnie = 164, kEnieMayuscula = 165;

int mayuscula(int key) {
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key == kEnie) return kEnieMayuscula;
    return key;
}

}  // namespace

bool Busqueda::teclear(int key) {
    const bool letra = (key >= 32 && key <= 122) || key == kEnie || key == kEnieMayuscula;
    if (!letra) return false;
    if (key == ' ' && texto_.empty()) return true;
    if (texto_.size() < kLargo) texto_ += static_cast<char>(mayuscula(key));
    return true;
}

void Busqueda::borrar() {
    texto_ = cp::Oem();
    cuenta_ = 0;
}

bool Busqueda::retroceder() {
    if (!texto_.empty()) texto_.resize(texto_.size() - 1);
    return !texto_.empty();
}

void Busqueda::empezar(bool por_palabras) {
    ultimo_ = texto_;
    por_palabras_ = por_palabras;
    rt::Console& c = rt::con();
    BOX(20, lugar_.col_aviso, 22, lugar_.col_aviso + 15, "+w/r");
    c.write_at(21, lugar_.col_aviso + 2, "Buscando...", "+gr/r");
    c.flush();
}

std::string Busqueda::texto_servidor() const {
    return cp::oem_to_ansi(texto_);
}

std::vector<std::string> Busqueda::palabras_servidor() const {
    return CTOARR(cp::oem_to_ansi(texto_.trimmed()));
}

void Busqueda::mostrar(bool tras_busqueda) const {
    rt::Console& c = rt::con();
    c.write_at(kFilaEstado, lugar_.col_filtro, por_palabras_ ? cp::OemView("(filtro)") : kLinea8,
               kColorEstado);
    c.write_at(kFilaEstado, lugar_.col_cuenta, kLinea8, kColorEstado);
    c.write_at(
        kFilaEstado, lugar_.col_cuenta,
        "(" + rt::format_with_mask(rt::Value(static_cast<double>(cuenta_)), "999999").trimmed() +
            ")",
        kColorEstado);
    c.write_at(kFilaTexto, lugar_.col_texto,
               rt::format_with_mask(rt::Value(texto_.padded(kLargo).str()), "@!"),
               tras_busqueda ? "+w/bg" : "+g/bg");
}

bool ListaBuscable::tecla(int key) {
    switch (key) {
        case rt::key::kEnter:
            if (busqueda_.nueva()) buscar(false);
            return true;
        case rt::key::kF8:
            if (!busqueda_.vacia()) buscar(true);
            return true;
        case rt::key::kDel:
            if (!busqueda_.vacia()) {
                busqueda_.borrar();
                vaciar();
            }
            return true;
        case rt::key::kBackspace:
            if (busqueda_.vacia()) return true;
            if (busqueda_.retroceder()) {
                buscar(false);
            } else {
                busqueda_.vaciada();
                vaciar();
            }
            return true;
        default:
            break;
    }
    if (!busqueda_.teclear(key)) return false;
    busqueda_.mostrar(false);
    return true;
}

void ListaBuscable::buscar(bool por_palabras) {
    busqueda_.empezar(por_palabras);
    auto res = consulta(sentencia_(busqueda_, por_palabras));
    if (fallo(res)) {
        mostrar_error(res);
    } else {
        llenar_(*res);
        busqueda_.terminar(res->LastRec());
        lista_.go_top();
    }
    lista_.refresh_all();
    busqueda_.mostrar(true);
}

void ListaBuscable::vaciar() {
    tabla_.zap();
    lista_.go_top();
    busqueda_.mostrar(false);
}

namespace {

// The column matched against a literal pattern: a '%' or '_' typed stands for itself.
std::string like(std::string_view columna, const std::string& antes, std::string_view texto,
                 const std::string& despues) {
    std::string sql(columna);
    sql.append(" like '").append(antes).append(sqltexto(rt::like_literal(texto)));
    sql.append(despues).append("'").append(rt::kLikeEscape);
    return sql;
}

}  // namespace

std::string donde_palabras(const std::vector<std::string>& palabras, std::string_view columna,
                           std::string_view otra_columna) {
    if (palabras.size() == 1 && otra_columna.empty())
        return "where " + like(columna, "%", palabras[0], "%") + " ";
    if (palabras.size() == 1)
        return "where (" + like(columna, "%", palabras[0], "%") + " or " +
               like(otra_columna, "%", palabras[0], "%") + ") ";
    std::string sql = "where (";
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        if (i > 0) sql += " and ";
        sql += like(columna, "%", palabras[i], "%") + " ";
    }
    return sql + ") ";
}

std::string donde_prefijo(std::string_view texto, std::string_view columna) {
    return "where " + like(columna, "", texto, "%") + " ";
}

}  // namespace abm
