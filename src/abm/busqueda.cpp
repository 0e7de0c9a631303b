#include "abm/busqueda.h"

#include <vector>

#include "runtime/common/codepage.h"
#include "runtime/common/sql_like.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

constexpr int kEnie = 164, kEnieMayuscula = 165;

// A character the search text takes, in upper case; 0 for any other key.
char caracter_de_busqueda(int key) {
    if (key == kEnie || key == kEnieMayuscula) return static_cast<char>(kEnieMayuscula);
    if (key < 32 || key > 122) return 0;
    if (key >= 'a' && key <= 'z') return static_cast<char>(key - 'a' + 'A');
    return static_cast<char>(key);
}

}  // namespace

bool Busqueda::teclear(int key) {
    const char ch = caracter_de_busqueda(key);
    if (ch == 0 || texto_.size() >= kLargo) return false;
    if (ch == ' ' && texto_.empty()) return false;
    texto_ += cp::Oem(std::string(1, ch));
    return true;
}

void Busqueda::borrar() {
    texto_ = cp::Oem();
    cuenta_ = 0;
}

bool Busqueda::retroceder() {
    if (!texto_.empty()) texto_ = texto_.substr(0, texto_.size() - 1);
    return !texto_.empty();
}

void Busqueda::empezar(ModoBusqueda modo) {
    ultimo_ = texto_;
    filtro_ = modo == ModoBusqueda::kFiltro;
}

std::string condicion_busqueda(ModoBusqueda modo, const cp::Oem& texto, std::string_view col_nombre,
                               std::string_view col_codigo, const Comillas& comillas) {
    // Built by appending: GCC 12 at -O3 reports false overlaps on "literal" + string.
    const auto like = [&](std::string_view columna, std::string_view antes, const std::string& ansi,
                          std::string_view despues) {
        std::string sql(columna);
        sql.append(" like '").append(antes).append(comillas(rt::like_literal(ansi)));
        sql.append(despues).append("'").append(rt::kLikeEscape);
        return sql;
    };
    if (modo == ModoBusqueda::kPrefijo)
        return "where " + like(col_nombre, "", cp::oem_to_ansi(texto), "%") + " ";
    const std::vector<std::string> palabras = ui::CTOARR(cp::oem_to_ansi(texto));
    if (palabras.size() == 1 && col_codigo.empty())
        return "where " + like(col_nombre, "%", palabras[0], "%") + " ";
    if (palabras.size() == 1)
        return "where (" + like(col_nombre, "%", palabras[0], "%") + " or " +
               like(col_codigo, "%", palabras[0], "%") + ") ";
    std::string condicion = "where (";
    for (std::size_t i = 0; i < palabras.size(); ++i) {
        if (i > 0) condicion += " and ";
        condicion += like(col_nombre, "%", palabras[i], "%") + " ";
    }
    return condicion + ") ";
}

}  // namespace abm
