// The voucher records: a new item and the display lines of the item list.
#include <gtest/gtest.h>

#include "runtime/common/codepage.h"
#include "support/oem_compare.h"
#include "vales/ingreso/vale_registros.h"

namespace {

using namespace vales;

TEST(ValeRegistros, NewItemHasNoOperatorSpecificationOrTimes) {
    const DatosItm it = item_nuevo("900000001", 0.02, 150);
    EXPECT_EQ(it.actividad, "900000001");
    EXPECT_EQ(it.operario, 0);
    EXPECT_EQ(it.especificacion, "");
    EXPECT_EQ(it.hora_inicio, "  :  ");
    EXPECT_EQ(it.hora_termino, "  :  ");
    EXPECT_EQ(it.cantidad_unitaria, 0.02);
    EXPECT_EQ(it.cantidad, 150);
    const DatosCab cab;
    EXPECT_EQ(cab.producto, std::string(9, ' '));
    EXPECT_EQ(cab.formula, "   ");
    EXPECT_TRUE(cab.fecha.empty());
}

TEST(ValeRegistros, DisplayLineColumns) {
    const cp::Oem name = "Cocción en horno túnel de alta temperatura y más"_oem;  // 48
    cp::Oem line = linea_display(name, "", "", 1234.5);
    ASSERT_EQ(line.size(), 96u);
    EXPECT_EQ(line.substr(0, 35), name.substr(0, 35)) << "cut to its column";
    EXPECT_EQ(line.substr(35, 49), cp::Oem(49, ' '));
    EXPECT_EQ(line.substr(84), "    1.234,50");

    line = con_operario(line, "Juan Francisco de la Barra");
    line = con_especificacion(line, "Prensa hidráulica"_oem);
    EXPECT_EQ(line.size(), 96u);
    EXPECT_EQ(line.substr(36, 21), "Juan Francisco de la ") << "operator from column 37";
    EXPECT_EQ(line.substr(57, 27), "Prensa hidráulica          "_oem)
        << "especificación from column 58";
    line = con_cantidad(line, 60);
    EXPECT_EQ(line.substr(84), "       60,00");
    EXPECT_EQ(line.substr(36, 20), "Juan Francisco de la") << "other columns kept";
    EXPECT_EQ(line.substr(0, 35), name.substr(0, 35));
}

}  // namespace
