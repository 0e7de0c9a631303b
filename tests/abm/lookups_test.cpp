// Existence, state and name lookups against the test company's master data.
#include <gtest/gtest.h>

#include "abm/abm_rutinas.h"
#include "runtime/common/codepage.h"
#include "servidor_abm.h"
#include "support/modo_sql.h"

namespace {

using namespace abm;
using prueba::Mensajes;

class Lookups : public prueba::ServidorAbm {};

TEST_F(Lookups, ExistenceShowsAtMostTheMessageOfItsOutcome) {
    struct Case {
        const char* what;
        std::function<bool()> lookup;
        bool result;
        Mensajes shown;
    };
    const Case cases[] = {
        {"product, no flags", [] { return EXISTE_PRODUCTO("L01AA0110"); }, true, {}},
        {"product found, msg if found",
         [] { return EXISTE_PRODUCTO("L01AA0110", true); },
         true,
         {"Código ya existe"}},
        {"product found, msg if missing",
         [] { return EXISTE_PRODUCTO("L01AA0110", false, true); },
         true,
         {}},
        {"product missing, both flags",
         [] { return EXISTE_PRODUCTO("ZZ0000000", true, true); },
         false,
         {"Código no existe"}},
        {"formula found", [] { return EXISTE_FORMULA("L01AA0110", "002", false, true); }, true, {}},
        {"formula missing",
         [] { return EXISTE_FORMULA("L01AA0110", "009", false, true); },
         false,
         {"Código no existe"}},
        {"formula of another product",
         [] { return EXISTE_FORMULA("M02BB0220", "002", true, false); },
         false,
         {}},
        {"active warehouse", [] { return EXISTE_BODEGA(1, false, true); }, true, {}},
        {"inactive warehouse, check-active absent",
         [] { return EXISTE_BODEGA(4, false, true); },
         false,
         {"Bodega no activa"}},
        {"inactive warehouse, msg if found",
         [] { return EXISTE_BODEGA(4, true, true); },
         false,
         {"Bodega no activa"}},
        {"inactive warehouse, check-active false",
         [] { return EXISTE_BODEGA(4, false, true, false); },
         true,
         {}},
        {"missing warehouse",
         [] { return EXISTE_BODEGA(99, false, true); },
         false,
         {"Código no existe"}},
        {"warehouse found, msg if found",
         [] { return EXISTE_BODEGA(2, true); },
         true,
         {"Código ya existe"}},
        {"operator", [] { return EXISTE_OPERARIO(4, false, true); }, true, {}},
        {"operator found, msg",
         [] { return EXISTE_OPERARIO(1, true); },
         true,
         {"Operario ya existe"}},
        {"operator missing",
         [] { return EXISTE_OPERARIO(99, false, true); },
         false,
         {"Operario no existe"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lookup(), c.result) << c.what;
        EXPECT_EQ(mensajes(), c.shown) << c.what;
    }
}

TEST_F(Lookups, OperatorState) {
    struct Case {
        double number;
        bool msg_active, msg_inactive, msg_missing;
        bool result;
        Mensajes shown;
    };
    const Case cases[] = {
        {1, false, false, false, true, {}}, {1, true, true, true, true, {"Usuario activo"}},
        {4, false, false, true, false, {}}, {4, true, true, false, false, {"Usuario no activo"}},
        {99, true, true, false, false, {}}, {99, false, false, true, false, {"Operario no existe"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OPERARIO_ACTIVO(c.number, c.msg_active, c.msg_inactive, c.msg_missing), c.result)
            << c.number;
        EXPECT_EQ(mensajes(), c.shown) << c.number;
    }
}

TEST_F(Lookups, NamesAreConsoleTextOfTheirWidth) {
    auto oem = [](std::string_view utf8, std::size_t width) {
        return cp::utf8_to_oem(utf8).padded(width);
    };
    EXPECT_EQ(NOMBRE_PRODUCTO("L01AA0110"), oem("Ladrillo refractario 'Súper' 230x114x65", 50));
    EXPECT_EQ(NOMBRE_PRODUCTO("A05DD0510"),
              cp::utf8_to_oem("Ladrillo aislante de alta temperatura para bóvedas y hornos")
                  .substr(0, 50))
        << "a longer name is cut";
    EXPECT_EQ(NOMBRE_FORMULA("L01AA0110", "002"), oem("Alta alúmina", 50));
    EXPECT_EQ(NOMBRE_OPERARIO(1), oem("Pedro Muñoz Soto", 20));
    EXPECT_EQ(NOMBRE_OPERARIO(5), cp::utf8_to_oem("Juan Francisco de la"));
    EXPECT_EQ(NOMBRE_OPERARIO(2), oem("José O'Ryan Díaz", 20));
    EXPECT_EQ(mensajes(), Mensajes{});

    EXPECT_EQ(NOMBRE_OPERARIO(99), std::string(20, ' '));
    EXPECT_EQ(mensajes(), Mensajes{});
    EXPECT_EQ(NOMBRE_OPERARIO(99, true), std::string(20, ' '));
    EXPECT_EQ(mensajes(), Mensajes{"Operario no existe"});
    EXPECT_EQ(NOMBRE_PRODUCTO("ZZ0000000", true), std::string(50, ' '));
    EXPECT_EQ(NOMBRE_FORMULA("L01AA0110", "009", true), std::string(50, ' '));
    EXPECT_EQ(mensajes(), (Mensajes{"Código no existe", "Código no existe"}));
}

TEST_F(Lookups, UnitOfMeasure) {
    EXPECT_EQ(UNIDAD_MEDIDA("I", "100000001"), "KG ");
    EXPECT_EQ(UNIDAD_MEDIDA("I", "100000004", "001"), "LT ") << "formula ignored for components";
    EXPECT_EQ(UNIDAD_MEDIDA("P", "M02BB0220", "001"), "KG ");
    EXPECT_EQ(UNIDAD_MEDIDA("P", "L01AA0110", "001"), "UN ");
    EXPECT_EQ(UNIDAD_MEDIDA("P", "L01AA0110", "009"), "   ");
    EXPECT_EQ(UNIDAD_MEDIDA("I", "ZZ"), "   ");
    EXPECT_EQ(mensajes(), Mensajes{});
}

// With the server in each SQL mode a plant may use.
using LookupsEnModo = prueba::EnModoSql<prueba::ServidorAbm>;

TEST_P(LookupsEnModo, QuotesInCodesAreDataNotStatement) {
    // Placed unescaped, the first would find every product and the second would end the
    // statement inside the literal.
    EXPECT_FALSE(EXISTE_PRODUCTO("x' or '1'='1"));
    EXPECT_FALSE(EXISTE_FORMULA("L01AA0110", "001' or 'a'='a"));
    EXPECT_EQ(NOMBRE_PRODUCTO("\\' or 1=1 -- "), std::string(50, ' '));
    // Escaped with backslashes, these two find every row of a server that takes a
    // backslash literally.
    for (const char* code : {"'is not null#", "\\'is not null#", "\\' or 1=1 #", "\" or \"\"=\"",
                             "%' or ''='", "a\\"}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(EXISTE_PRODUCTO(code, true, false));
        EXPECT_FALSE(EXISTE_FORMULA(code, code));
        EXPECT_FALSE(EXISTE_FORMULA("L01AA0110", code));
        EXPECT_EQ(NOMBRE_PRODUCTO(code), std::string(50, ' '));
        EXPECT_EQ(NOMBRE_FORMULA("L01AA0110", code), std::string(50, ' '));
        EXPECT_EQ(UNIDAD_MEDIDA("P", "L01AA0110", code), "   ");
        EXPECT_EQ(UNIDAD_MEDIDA("I", code), "   ");
    }
    const std::string odd = "O'1\\;--";
    const std::string quoted = sesion.OSERVER->escape(odd);
    sql("insert into prodcmp set codi_prod='" + quoted + "', desc_prod='Prueba', unid_med='M3'");
    EXPECT_EQ(UNIDAD_MEDIDA("I", odd), "M3 ");
    sql("delete from prodcmp where codi_prod='" + quoted + "'");
    EXPECT_FALSE(sesion.OSERVER->NetErr()) << "no statement failed: " << sesion.OSERVER->Error();
    EXPECT_EQ(mensajes(), Mensajes{});
}

INSTANTIATE_TEST_SUITE_P(Modos, LookupsEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_F(Lookups, FailingStatementsCountAsNothingFound) {
    sin_base_de_datos();
    EXPECT_FALSE(EXISTE_PRODUCTO("L01AA0110", true, true));
    EXPECT_FALSE(EXISTE_BODEGA(1, true, true));
    EXPECT_FALSE(OPERARIO_ACTIVO(1, true, true, true));
    EXPECT_EQ(mensajes(), (Mensajes{"Código no existe", "Código no existe", "Operario no existe"}));
    EXPECT_EQ(NOMBRE_OPERARIO(1), std::string(20, ' '));
    EXPECT_EQ(UNIDAD_MEDIDA("I", "100000001"), "   ");
    sesion.OSERVER.reset();  // no connection object at all
    EXPECT_FALSE(EXISTE_OPERARIO(1, false, true));
    EXPECT_EQ(NOMBRE_PRODUCTO("L01AA0110"), std::string(50, ' '));
    EXPECT_EQ(mensajes(), Mensajes{"Operario no existe"});
}

}  // namespace
