// The search line of the searchable lists: what typing makes of the text, and the LIKE
// condition a search sends to a store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "abm/busqueda.h"
#include "runtime/common/codepage.h"
#include "runtime/offline/todbc.h"
#include "runtime/screen/keys.h"

namespace {

using abm::Busqueda;
using abm::ModoBusqueda;

std::string tecleado(const std::vector<int>& teclas) {
    Busqueda b;
    for (int k : teclas) b.teclear(k);
    return cp::oem_to_ansi(b.texto());
}

TEST(Busqueda, TypingBuildsAnUpperCaseTextOfFiftyAtMost) {
    struct Case {
        const char* what;
        std::vector<int> teclas;
        std::string texto;  // Windows-1252
    };
    std::vector<int> cincuenta_y_uno(51, 'a');
    const std::vector<Case> cases = {
        {"letters in upper case, digits and signs as typed",
         {'l', 'A', '5', '%', '\'', 'z'},
         "LA5%'Z"},
        {"ñ and Ñ as Ñ", {164, 165}, "\xD1\xD1"},
        {"a blank does not start the text but goes inside it", {' ', 'a', ' ', 'b'}, "A B"},
        {"keys outside 32-122 and ñ Ñ type nothing",
         {'{', 127, 163, 166, rt::key::kHome, rt::key::kF8, rt::key::kLeft},
         ""},
        {"the 51st character is dropped", cincuenta_y_uno, std::string(50, 'A')},
    };
    for (const Case& c : cases) EXPECT_EQ(tecleado(c.teclas), c.texto) << c.what;
}

// The conditions as the off-line store gets them (quotes doubled); the text is typed in the
// console's code page and reaches the store in Windows-1252.
TEST(Busqueda, TheConditionMatchesTheTypedTextLiterally) {
    struct Case {
        ModoBusqueda modo;
        std::string texto;  // console code page
        const char* codigo;
        std::string condicion;
    };
    const std::vector<Case> cases = {
        {ModoBusqueda::kPrefijo, "PER", "rut", "where nom_oper like 'PER%' escape '!' "},
        {ModoBusqueda::kPrefijo, "O'H 100%_!", "rut",
         "where nom_oper like 'O''H 100!%!_!!%' escape '!' "},
        {ModoBusqueda::kPrefijo, "\xA5U", "rut", "where nom_oper like '\xD1U%' escape '!' "},
        {ModoBusqueda::kFiltro, "ANA", "rut",
         "where (nom_oper like '%ANA%' escape '!' or rut like '%ANA%' escape '!') "},
        {ModoBusqueda::kFiltro, "ANA", "", "where nom_oper like '%ANA%' escape '!' "},
        {ModoBusqueda::kFiltro, "ANA  PER'", "rut",
         "where (nom_oper like '%ANA%' escape '!'  and nom_oper like '%PER''%' escape '!' ) "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            abm::condicion_busqueda(c.modo, cp::Oem(c.texto), "nom_oper", c.codigo, rt::mdb_quote),
            c.condicion)
            << c.texto;
}

}  // namespace
