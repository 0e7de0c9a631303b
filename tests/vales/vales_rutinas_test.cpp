// The off-line lookups on a real store, their message boxes on the virtual terminal, and the
// time and date rules.
#include "vales/fuera_de_linea/vales_rutinas.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/common/codepage.h"
#include "support/offline_store.h"
#include "vales/vales_fixture.h"

namespace vales {
namespace {

using testing_support::grid_row_text;

class ValesRutinasTest : public testing_support::ValesTest {
  protected:
    ValesRutinasTest() : RS(store.connection()) {
        for (const char* sql : {
                 "insert into bodegas (numero_bod,nombre_bod) Values(1, 'CENTRAL' )",
                 "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
                 "l_activo) Values('A00010001', 'LADRILLO REFRACTARIO', '001', 'ESTANDAR', "
                 "true, true)",
                 "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
                 "l_activo) Values('A00010001', 'LADRILLO REFRACTARIO', '002', "
                 "'ESPECIAL DE ALTA ALUMINA PARA HORNOS ROTATORIOS DE CEMENTO', False, true)",
                 "insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, "
                 "l_activo) Values('C00030001', 'MORTERO O''HIGGINS', '001', 'UNICA', true, "
                 "true)",
                 "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
                 "digito_verif) Values(5, 'JUAN P\xC9"
                 "REZ', 'G01', true, '12345678', 'K' )",
                 "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
                 "digito_verif) Values(7, 'ANA ROJAS', 'G02', false, '87654321', '5' )",
                 "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
                 "digito_verif) Values(9, 'ALBERTO DIAZ DE LA FUENTE', 'G01', true, '1', '1' )",
             }) {
            RS.SetSQL(sql);
            EXPECT_TRUE(RS.Open()) << sql << "\n" << RS.SQLErrorMessage();
        }
    }

    // The message box shown by `call` ("" when none), and the call's result.
    template <typename Result>
    std::pair<Result, std::string> with_message(const std::function<Result()>& call) {
        const auto before = term.snapshots().size();
        Result result = call();
        if (term.snapshots().size() == before) return {result, ""};
        // The box stands on row 16 between two vertical lines.
        const auto row = grid_row_text(term.snapshots().back().grid, 16);
        const std::string bar = "│";
        const auto from = row.find(bar) + bar.size();
        auto text = row.substr(from, row.rfind(bar) - from);
        text.erase(0, text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        return {result, text};
    }

    testing_support::ScratchStore store;
    rt::TODBC RS;
};

TEST_F(ValesRutinasTest, ExistenceAndStateLookupsShowAtMostTheAskedMessage) {
    struct Case {
        const char* what;
        std::function<bool()> call;
        bool result;
        std::string message;
    };
    const Case cases[] = {
        {"bodega 1", [&] { return MDB_EXISTE_BODEGA(RS, 1, false, true); }, true, ""},
        {"bodega 1 msg", [&] { return MDB_EXISTE_BODEGA(RS, 1, true, false); }, true,
         "Bodega ya existe"},
        {"bodega 2", [&] { return MDB_EXISTE_BODEGA(RS, 2, false, true); }, false,
         "Bodega no existe"},
        {"bodega 2 sin msg", [&] { return MDB_EXISTE_BODEGA(RS, 2); }, false, ""},
        {"producto", [&] { return MDB_EXISTE_PRODUCTO(RS, "A00010001", false, true); }, true, ""},
        {"producto msg", [&] { return MDB_EXISTE_PRODUCTO(RS, "A00010001", true, true); }, true,
         "Código ya existe"},
        {"producto no", [&] { return MDB_EXISTE_PRODUCTO(RS, "A0001000 ", false, true); }, false,
         "Código no existe"},
        {"comilla", [&] { return MDB_EXISTE_PRODUCTO(RS, "X' or ''='", false, true); }, false,
         "Código no existe"},
        {"formula", [&] { return MDB_EXISTE_FORMULA(RS, "A00010001", "002", false, true); }, true,
         ""},
        {"formula no", [&] { return MDB_EXISTE_FORMULA(RS, "C00030001", "002", false, true); },
         false, "Código no existe"},
        {"operario", [&] { return MDB_EXISTE_OPERARIO(RS, 7, false, true); }, true, ""},
        {"operario no", [&] { return MDB_EXISTE_OPERARIO(RS, 8, false, true); }, false,
         "Operario no existe"},
        {"activo", [&] { return MDB_OPERARIO_ACTIVO(RS, 5, false, true); }, true, ""},
        {"activo msg", [&] { return MDB_OPERARIO_ACTIVO(RS, 5, true, true, true); }, true,
         "Usuario activo"},
        {"inactivo", [&] { return MDB_OPERARIO_ACTIVO(RS, 7, false, true); }, false,
         "Usuario no activo"},
        {"inactivo sin msg", [&] { return MDB_OPERARIO_ACTIVO(RS, 7, true, false, true); }, false,
         ""},
        {"no existe", [&] { return MDB_OPERARIO_ACTIVO(RS, 8, true, true, true); }, false,
         "Operario no existe"},
    };
    for (const auto& c : cases) {
        const auto [result, message] = with_message(c.call);
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
}

TEST_F(ValesRutinasTest, NamesComeInTheConsoleCodePageAtTheirWidth) {
    auto shown = [](const cp::Oem& oem) { return cp::oem_to_utf8(oem); };
    EXPECT_EQ(shown(MDB_NOMBRE_OPERARIO(RS, 5)), "JUAN PÉREZ          ");
    EXPECT_EQ(shown(MDB_NOMBRE_OPERARIO(RS, 9)), "ALBERTO DIAZ DE LA F");
    EXPECT_EQ(MDB_NOMBRE_OPERARIO(RS, 8), cp::Oem(20, ' '));
    EXPECT_EQ(MDB_NOMBRE_FORMULA(RS, "A00010001", "002"),
              "ESPECIAL DE ALTA ALUMINA PARA HORNOS ROTATORIOS DE");
    EXPECT_EQ(MDB_NOMBRE_FORMULA(RS, "A00010001", "003"), cp::Oem(50, ' '));
    EXPECT_EQ(MDB_NOMBRE_PRODUCTO(RS, "C00030001"), "MORTERO O'HIGGINS" + cp::Oem(33, ' '));
    EXPECT_EQ(MDB_NOMBRE_PRODUCTO(RS, "Z"), cp::Oem(50, ' '));

    const auto missing = with_message<cp::Oem>([&] { return MDB_NOMBRE_OPERARIO(RS, 8, true); });
    EXPECT_EQ(missing.second, "Operario no existe");
    EXPECT_EQ(with_message<cp::Oem>([&] { return MDB_NOMBRE_PRODUCTO(RS, "Z", true); }).second,
              "Código no existe");
    EXPECT_EQ(with_message<cp::Oem>([&] { return MDB_NOMBRE_FORMULA(RS, "Z", "1", true); }).second,
              "Código no existe");
}

TEST_F(ValesRutinasTest, ProductNameLeavesTheCallersResultInPlace) {
    RS.SetSQL("select codi_oper, nom_oper from operario order by codi_oper");
    ASSERT_TRUE(RS.Open());
    RS.Skip();
    EXPECT_EQ(MDB_NOMBRE_PRODUCTO(RS, "A00010001"), "LADRILLO REFRACTARIO" + std::string(30, ' '));
    EXPECT_TRUE(RS.Active());
    EXPECT_EQ(RS.RecNo(), 2);
    EXPECT_EQ(RS.FieldValue("codi_oper"), "7");
    RS.SetSQL("insert into bodegas (numero_bod,nombre_bod) Values(2, 'NORTE' )");
    EXPECT_TRUE(RS.Open()) << RS.SQLErrorMessage();
    EXPECT_TRUE(MDB_EXISTE_BODEGA(RS, 2));
}

TEST_F(ValesRutinasTest, AStoreThatCannotBeReadFindsNothing) {
    testing_support::TempFolder nowhere;
    rt::TODBC lost(rt::offline_connection_string_for((nowhere.path() / "vales.mdb").string()));
    EXPECT_FALSE(MDB_EXISTE_BODEGA(lost, 1));
    EXPECT_FALSE(MDB_OPERARIO_ACTIVO(lost, 5));
    EXPECT_EQ(MDB_NOMBRE_OPERARIO(lost, 5), std::string(20, ' '));
    EXPECT_EQ(MDB_NOMBRE_PRODUCTO(lost, "A00010001"), std::string(50, ' '));
    EXPECT_EQ(with_message<bool>([&] { return MDB_EXISTE_OPERARIO(lost, 5, false, true); }).second,
              "Operario no existe");
}

TEST(Validahora, HoursAndMinutesInRange) {
    const std::pair<const char*, bool> cases[] = {
        {"23:59", true},  {"00:00", true},     {"24:00", false}, {"12:60", false},
        {"  :  ", false}, {"9:30", false},     {"9 :30", true},  {" 9:30", false},
        {"09: 5", true},  {"", false},         {"     ", false}, {" 12:30 ", true},
        {"-1:30", false}, {"12:30:00", false},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(VALIDAHORA(text), valid) << text;
}

TEST(FechaMdbToNormal, ReadsYearMonthAndDayFromTheStoreText) {
    const std::pair<const char*, const char*> cases[] = {
        {"2026-03-05 00:00:00", "05/03/2026"},
        {"2026-12-06 00:00:00", "06/12/2026"},
        {"2024-02-29", "29/02/2024"},
        {"2026-02-29 00:00:00", "  /  /    "},
        {"", "  /  /    "},
        {"2026-12", "  /  /    "},
        {"basura que no es", "  /  /    "},
    };
    for (const auto& [text, date] : cases)
        EXPECT_EQ(FECHA_MDB_TO_NORMAL(text).text(), date) << text;
}

}  // namespace
}  // namespace vales
