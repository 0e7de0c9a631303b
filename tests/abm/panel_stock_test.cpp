// The stock panel as the user sees it on the virtual terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "abm/abm_rutinas.h"
#include "servidor_abm.h"

namespace {

using namespace abm;

class PanelStock : public prueba::ServidorAbm {
  protected:
    // The panel's inside on one row (columns 2-24), and its frame columns.
    std::string dentro(int row) const { return row_text(row, 2, 23); }
    std::string marco(int row) const { return row_text(row, 1, 1) + row_text(row, 25, 1); }
};

TEST_F(PanelStock, WarehousesOrderedByFlagsWithNegativeStockInItsOwnColour) {
    VERSTK("P", "L01AA0110", "001");
    EXPECT_EQ(row_text(3, 1, 25), "┌───────────────────────┐");
    EXPECT_EQ(dentro(4), "Bodega       Stock(UN) ");
    EXPECT_EQ(colour_at(4, 2), "W/G");
    EXPECT_EQ(colour_at(4, 21), "+W/G") << "the unit stands out";
    EXPECT_EQ(colour_at(4, 23), "W/G");
    EXPECT_EQ(row_text(5, 1, 25), "├───────────────────────┤");
    // Orders first (1, 3), then vouchers (2); the inactive warehouse 4 is not listed.
    EXPECT_EQ(dentro(6), "Bodega Cent      150,00");
    EXPECT_EQ(dentro(7), "Despacho Ñu       35,50");
    EXPECT_EQ(dentro(8), "Producción       -20,00");
    EXPECT_EQ(colour_at(6, 2), "+GR/G");
    EXPECT_EQ(colour_at(6, 24), "+W/G");
    EXPECT_EQ(colour_at(8, 24), "+BG/G") << "negative stock";
    // Then the warehouses flagged for neither, without stock record: 0.
    std::set<std::string> rest{dentro(9), dentro(10)};
    EXPECT_EQ(rest, (std::set<std::string>{"Tránsito           0,00", "Patio O'Hig        0,00"}));
    // Transfers of formula 001 (number 3) and of another formula (number 1) are pending.
    EXPECT_EQ(row_text(11, 1, 25), "├───────────────────────┤");
    EXPECT_EQ(dentro(12), "ATENCION               ");
    EXPECT_EQ(dentro(15), "producto               ");
    EXPECT_EQ(colour_at(12, 2), "+W/G");
    EXPECT_EQ(row_text(16, 1, 25), "├───────────────────────┤");
    EXPECT_EQ(dentro(17), "ATENCION               ");
    EXPECT_EQ(dentro(20), "producto con fórmulas  ");
    EXPECT_EQ(dentro(21), "diferentes             ");
    EXPECT_EQ(dentro(22), std::string(23, ' '));
    EXPECT_EQ(row_text(34, 1, 25), "└───────────────────────┘");
    EXPECT_EQ(term.screen(), console.grid()) << "the panel is shown at once, without a key";
}

TEST_F(PanelStock, OnlyNonZeroLeavesOutWarehousesWithoutStock) {
    VERSTK("P", "M02BB0220", "001", true);
    EXPECT_EQ(dentro(4), "Bodega       Stock(KG) ");
    EXPECT_EQ(dentro(6), "Bodega Cent       75,00");
    EXPECT_EQ(dentro(7), std::string(23, ' ')) << "nothing else, and no transfer notice";
    VERSTK("I", "100000003", "ZZZ", true);
    EXPECT_EQ(dentro(6), "Bodega Cent      300,00");
    EXPECT_EQ(row_text(7, 1, 25), "├───────────────────────┤");
    EXPECT_EQ(dentro(8), "ATENCION               ");
    EXPECT_EQ(dentro(12), std::string(23, ' ')) << "components have no formula notice";
}

TEST_F(PanelStock, WithoutCodeOnlyTheFrame) {
    VERSTK("P", "", "001");
    EXPECT_EQ(dentro(4), "Bodega       Stock()   ");
    EXPECT_EQ(dentro(6), std::string(23, ' '));
}

// A company with more warehouses than the panel has lines: the list stops at its frame.
TEST_F(PanelStock, ManyWarehousesStayInsideThePanel) {
    const std::string db = "panel_" + std::to_string(::getpid());
    sql("create database " + db);
    for (const char* t : {"bodegas", "stock_bodegas", "trfbodc", "trfbodi", "prodvtas"})
        sql("create table " + db + "." + t + " like test." + t);
    sql("insert into " + db + ".prodvtas select * from test.prodvtas");
    for (int i = 1; i <= 40; ++i) {
        sql("insert into " + db + ".bodegas set numero_bod=" + std::to_string(i) +
            ", nombre_bod='Bodega " + std::to_string(i) + "', l_activo=1");
        sql("insert into " + db + ".stock_bodegas set numero_bod=" + std::to_string(i) +
            ", tipo_prd='P', codi_prod='L01AA0110', codi_form='001', stock=" + std::to_string(i));
    }
    sql("insert into " + db + ".trfbodc set n_transfer=1, c_estado='1'");
    sql("insert into " + db +
        ".trfbodi set n_transfer=1, tipo_prd='P', codi_prod='L01AA0110', "
        "codi_form='001'");
    ASSERT_TRUE(sesion.OSERVER->SelectDB(db));

    VERSTK("P", "L01AA0110", "001");
    for (int row = 6; row <= 33; ++row)
        EXPECT_NE(dentro(row).substr(0, 7), "       ") << "row " << row << " is used";
    EXPECT_EQ(row_text(34, 1, 25), "└───────────────────────┘") << "the frame is kept";
    EXPECT_EQ(row_text(35, 0, 30), std::string(30, ' ')) << "nothing below the panel";
    sql("drop database " + db);
}

}  // namespace
