// Stock reads, stock changes and pending transfers on the test company.
#include <gtest/gtest.h>
#include <unistd.h>

#include "abm/abm_rutinas.h"
#include "runtime/screen/keys.h"
#include "servidor_abm.h"

namespace {

using namespace abm;
using prueba::Mensajes;

class Stock : public prueba::ServidorAbm {
  protected:
    // A code of this test alone, so that tests running side by side never share records.
    Stock()
        : code(std::string("T").append(
              std::to_string(100000000 + ::getpid() % 90000000).substr(1))) {}
    ~Stock() override {
        if (sesion.OSERVER && sesion.OSERVER->SelectDB("test"))
            sesion.OSERVER->Query("delete from stock_bodegas where codi_prod='" + code + "'");
    }
    double stored(const std::string& where) {
        auto q = sesion.OSERVER->Query("select stock from stock_bodegas where codi_prod='" + code +
                                       "' and " + where);
        EXPECT_EQ(q.LastRec(), 1) << where;
        return q.FieldGet(1).number();
    }
    const std::string code;
};

TEST_F(Stock, ReadsTheRecordOfWarehouseKindCodeAndFormula) {
    EXPECT_EQ(STOCK(1, "P", "L01AA0110", "001"), 150);
    EXPECT_EQ(STOCK(2, "P", "L01AA0110", "001"), -20);
    EXPECT_EQ(STOCK(3, "P", "L01AA0110", "001"), 35.5);
    EXPECT_EQ(STOCK(1, "P", "L01AA0110", "002"), 40);
    EXPECT_EQ(STOCK(1, "I", "100000001", "XYZ"), 5000) << "formula ignored for components";
    EXPECT_EQ(STOCK(1, "P", "L01AA0110", "001", 100, true), 150);
    EXPECT_EQ(mensajes(), Mensajes{});
}

TEST_F(Stock, MissingRecordIsZeroAndShortWhenAsked) {
    EXPECT_EQ(STOCK(5, "P", "L01AA0110", "001", 5, false), 0);
    EXPECT_EQ(mensajes(), Mensajes{});
    EXPECT_EQ(STOCK(5, "P", "L01AA0110", "001", 5, true), 0);
    EXPECT_EQ(mensajes(), Mensajes{"Stock insuficiente..."});
    EXPECT_EQ(STOCK(1, "P", "L01AA0110", "001", 150.5, true), 150);
    EXPECT_EQ(mensajes(), Mensajes{"Stock insuficiente..."});
}

TEST_F(Stock, FirstConsumptionCreatesANegativeStock) {
    EXPECT_TRUE(SUMA_STOCK(1, "I", code, "ABC", -2.5));
    EXPECT_EQ(stored("numero_bod=1 and tipo_prd='I' and codi_form=''"), -2.5)
        << "a component's record is created with an empty formula";
    EXPECT_EQ(STOCK(1, "I", code, "XYZ"), -2.5);
    EXPECT_TRUE(SUMA_STOCK(1, "I", code, "", 10));
    EXPECT_EQ(STOCK(1, "I", code), 7.5);
    EXPECT_TRUE(SUMA_STOCK(1, "I", code, "QQQ", -7.5));
    EXPECT_EQ(STOCK(1, "I", code), 0);
    EXPECT_EQ(mensajes(), Mensajes{});
}

TEST_F(Stock, ProductsKeepOneRecordPerFormulaAndWarehouse) {
    EXPECT_TRUE(SUMA_STOCK(2, "P", code, "001", 3));
    EXPECT_TRUE(SUMA_STOCK(2, "P", code, "002", 4));
    EXPECT_TRUE(SUMA_STOCK(3, "P", code, "001", 5));
    EXPECT_TRUE(SUMA_STOCK(2, "P", code, "001", -1.25));
    EXPECT_EQ(STOCK(2, "P", code, "001"), 1.75);
    EXPECT_EQ(STOCK(2, "P", code, "002"), 4);
    EXPECT_EQ(STOCK(3, "P", code, "001"), 5);
    EXPECT_EQ(stored("numero_bod=3 and codi_form='001'"), 5);
    EXPECT_EQ(mensajes(), Mensajes{});
}

TEST_F(Stock, ServerFailuresAreReported) {
    // An insert the server refuses (no such warehouse number fits the column).
    // The message box goes by itself after 3 s; Enter then closes the alert that shows
    // the statement.
    term.pause(4).keys({rt::key::kEnter});
    EXPECT_FALSE(SUMA_STOCK(1e12, "I", code, "", 1));
    EXPECT_EQ(mensajes().front(), "ERROR: No se puede actualizar registro de stock");
    EXPECT_TRUE(term.script_empty()) << "the statement was shown in an alert";

    sin_base_de_datos();
    EXPECT_FALSE(SUMA_STOCK(1, "I", code, "", 1));
    EXPECT_EQ(STOCK(1, "I", "100000001", "", 5, true), 0);
    EXPECT_EQ(mensajes(), (Mensajes{"ERROR: No se puede conectar a registros de stock",
                                    "ERROR: No se puede encontrar stock de producto"}));
}

TEST_F(Stock, PendingTransfers) {
    struct Case {
        const char* kind;
        const char* code;
        std::optional<std::string_view> formula;
        bool same;
        bool result;
    };
    const Case cases[] = {
        {"P", "L01AA0110", "002", true, true},  // transfer 1
        {"P", "L01AA0110", "001", true, true},  // transfer 3
        {"P", "L01AA0110", "003", true, false},
        {"P", "L01AA0110", "003", false, true},  // 001 and 002 are pending
        {"P", "L01AA0110", std::nullopt, true, true},
        {"P", "M02BB0220", "001", true, false},  // transfer 2 is finished
        {"P", "M02BB0220", "001", false, false},
        {"P", "M02BB0220", std::nullopt, false, false},
        {"I", "100000003", "ZZZ", true, true},  // formulas never count for components
        {"I", "100000003", "ZZZ", false, true},
        {"I", "100000001", std::nullopt, true, false},
        {"P", "x' or '1'='1", std::nullopt, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EXISTEN_TRANSF_PEND(c.kind, c.code, c.formula, c.same), c.result)
            << c.kind << " " << c.code << " " << c.formula.value_or("(none)") << " " << c.same;
}

}  // namespace
