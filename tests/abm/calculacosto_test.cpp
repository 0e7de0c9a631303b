// Product costs walked on the server, with a currency table given by the test.
#include <gtest/gtest.h>

#include "abm/abm_rutinas2.h"
#include "catalogo_fixture.h"

namespace {

using namespace abm;

class Costo : public prueba::CatalogoTest {
  protected:
    Costo() {
        anterior_ = instalar_fuente_monedas([this] {
            ++pedidas;
            return monedas;
        });
        // A component priced in the second currency, a product made of it, and two
        // products that contain each other, and one that contains itself.
        sql("insert into prodcmp (codi_prod, desc_prod, prec_comp, moneda) values "
            "('ZZ0000001', 'Resina', '2', 2), ('ZZ0000002', 'Sin moneda', '7.5', 3), "
            "('ZZ0000003', 'Precio con texto', ' 4.5 US$', 1)");
        sql("insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values "
            "('T00000001001', 'ZZ0000001', 'I', '', 3), "
            "('T00000002001', 'ZZ0000002', 'I', '', 1), "
            "('T00000002001', 'ZZ0000003', 'I', '', 2), "
            "('C10000001001', '100000001', 'I', '', 1), "
            "('C10000001001', 'C20000001', 'P', '001', 2), "
            "('C20000001001', '100000002', 'I', '', 1), "
            "('C20000001001', 'C10000001', 'P', '001', 1), "
            "('C30000001001', '100000002', 'I', '', 1), "
            "('C30000001001', 'C30000001', 'P', '001', 1)");
    }
    ~Costo() override { instalar_fuente_monedas(anterior_); }

    TablaMonedas monedas;
    int pedidas = 0;

  private:
    FuenteMonedas anterior_;
};

TEST_F(Costo, ComponentsIntermediateProductsAndStrictMode) {
    monedas = {{1, 1}, {2, 10}};
    struct Case {
        const char* producto;
        const char* formula;
        bool estricto;
        double costo;
    };
    const Case cases[] = {
        // Price 2 in currency 2 (factor 10), used 3 times per unit.
        {"T00000001", "001", false, 60},
        {"T00000001", "001", true, 60},
        // 125.50 x 2.5 + 98 x 1.2 + 0.40 x 0.3; the activities have no price.
        {"L01AA0110", "001", false, 431.47},
        {"L01AA0110", "001", true, 0},
        // The mortar (125.50 x 0.6 + 98 x 0.4 = 114.5) as an intermediate product, 0.25 of
        // it per unit, beside 1.5 of clay.
        {"M02BB0220", "001", false, 114.5},
        {"P03CC0330", "001", false, 188.25 + 114.5 * 0.25},
        {"A05DD0510", "001", false, 1.85 * 0.9 * 10},
        // A currency the table lacks passes the line over; a price read up to its first
        // character that is not part of a number.
        {"T00000002", "001", false, 9},
        {"T00000002", "001", true, 0},
        // No formula lines, and a code padded as the work table holds it.
        {"X99ZZ9990", "001", false, 0},
        {"T00000001", "001", false, 60},
        // Products that contain each other: the inner one is costed without the line that
        // leads back (125.50 + 2 x 98); strictly, that line makes the whole cost 0.
        {"C10000001", "001", false, 321.5},
        {"C10000001", "001", true, 0},
        {"C30000001", "001", false, 98},
        {"C30000001", "001", true, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CALCULACOSTO(c.producto, c.formula, c.estricto), c.costo, 1e-9)
            << c.producto << " " << c.formula << (c.estricto ? " strict" : "");
    EXPECT_NEAR(CALCULACOSTO("T0000001", "1"), 0, 1e-9) << "codes are fixed-width keys";
    EXPECT_EQ(pedidas, 1) << "the currency table is taken once and kept";
}

TEST_F(Costo, WithoutCurrenciesEveryCostIsZero) {
    for (const char* p : {"T00000001", "L01AA0110", "P03CC0330", "A05DD0510", "C10000001"})
        EXPECT_EQ(CALCULACOSTO(p, "001"), 0) << p;
    EXPECT_EQ(pedidas, 5) << "an empty table is asked for again at each call";
    EXPECT_TRUE(MONEDAS().empty()) << "this system keeps no currency table";
}

TEST_F(Costo, AFailingStatementCostsNothing) {
    monedas = {{1, 1}, {2, 10}};
    sin_base_de_datos();
    EXPECT_EQ(CALCULACOSTO("T00000001", "001"), 0);
}

}  // namespace
