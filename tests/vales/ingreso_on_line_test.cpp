// The on-line entry as a user types it: header, activities, especificaciones, operators,
// a split, the save with every row it writes, and the refusals on the way.
#include <gtest/gtest.h>

#include <map>

#include "vales/ingreso_on_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::picture;

class IngresoOnLineTest : public prueba::IngresoOnLine {
  protected:
    // The screen at the k-th key wait of the run, counted from the first.
    std::string en_espera(std::size_t k) const {
        return shown_screen(term.snapshots().size() - 1 - k);
    }
};

// Header, Enter on both activities, a split of the second, F8 and "N" to the print offer;
// then Esc on the next header. Waits: 24 in the header, then the list (24), the first
// activity's especificaciones (25), operator (26-29) and times (30-39); Down (40); the
// second activity (41-56); F2 (57) and its form (58); F8 (59); the print offer (60); the
// next header (61).
TEST_F(IngresoOnLineTest, ACompleteVoucherTypedAsAUserWouldWritesEveryRow) {
    const long antes = contador();
    cabecera("001", "100", "2");
    editar(0, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1300", "1530");
    term.keys({kF2, kEnter});
    term.keys({kF8, 'N', kEsc});
    vales::VALES_INGRESO_ON_LINE();
    ASSERT_EQ(term.snapshots().size(), 62u);
    EXPECT_TRUE(term.script_empty());

    EXPECT_EQ(en_espera(0), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:   0                                           │
 │Producto:                                                                 │
 │Fórmula :                                                                 │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)"));
    // The field being edited e, the other fields and the title u, labels l on the box b.
    const std::map<std::string, char> legend = {
        {"+R/W", 'e'}, {"+W/G", 'u'}, {"+GR/G", 'b'}, {"W/G", 'l'}, {"N/N", '.'}};
    EXPECT_EQ(shown_colours(legend, 3, 0, 8, 77, term.snapshots().size() - 1), picture(R"(
.bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbuuuuuuuuuuuuuuuuuuuuuuuuuuuub.
.bllllllbeeeeeeeeeebbblllllllbuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuuuuuuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuubbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
.blllllllllbuuuuuuuuuuuuuubbbllllllbuuuuuuuuuuuuuubbbbbbbbbbbbbbbbbbbbbbbbbbb.
.bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.
)", 6));
    EXPECT_EQ(en_espera(24), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         100,00   Malas:           2,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

 ┌────────────────────────────────────────────────────────────────────────────────────────────────┐
 │Actividad                           Operario             Especificación                 Cantidad│
 ├────────────────────────────────────────────────────────────────────────────────────────────────┤
 │Moldeo manual de piezas especiales                                                        100,00│
 │Cocción en horno                                                                          100,00│
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 │                                                                                                │
 └────────────────────────────────────────────────────────────────────────────────────────────────┘











                    [Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]
)"));
    EXPECT_EQ(en_espera(30), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         100,00   Malas:           2,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

 ┌────────────────────────────────────────────────────────────────────────────────────────────────┐
 │Actividad                           Operario             Especificación                 Cantidad│
 ├──────────────────────────────────────┌──────────────────────────────────────────────────────┐──┤
 │Moldeo manual de piezas especiales    │Especificación:  Compleja                             │00│
 │Cocción en horno                      │                 Normal                               │00│
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 │                                      │                                                      │  │
 └──────────────────────────────────────│                                                      │──┘
                                        │                                                      │
                                        │                                                      │
                                        │                                                      │
                                        │                                                      │
                                        ├──────────────────────────────────────────────────────┤
                                        │Nº de Operario : 801 PERALTA SOTO JUAN                │
                                        │Hora de Inicio :   :                                  │
                                        │Hora de Termino:   :                                  │
                                        └──────────────────────────────────────────────────────┘


                    [Enter]Edición  [F2]Duplicar item  [F8]Actualizar  [Escape]
)"));
    // After the save the next voucher keeps the date and the warehouse.
    EXPECT_EQ(en_espera(61), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto:                                                                 │
 │Fórmula :                                                                 │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)"));

    const long numero = contador();
    EXPECT_EQ(numero, antes + 1);
    EXPECT_EQ(vales(numero),
              (std::vector<std::string>{
                  // Activities: operator, especificación and the points of the operator's
                  // group; the split activity gives two rows with their own quantities.
                  "2026-12-06|YPRUEBA01|001|100.000|2.000|78|9Y0000001||I|1.00000|801|Y02|3.0000|1",
                  "2026-12-06|YPRUEBA01|001|50.000|2.000|78|9Y0000002||I|1.00000|802|Y03|0.5000|1",
                  "2026-12-06|YPRUEBA01|001|50.000|2.000|78|9Y0000002||I|1.00000|802|Y03|0.5000|1",
                  // Ingredients: controlled, uncontrolled, sub-product with its formula.
                  "2026-12-06|YPRUEBA01|001|100.000|2.000|78|YCOMP0001||I|2.50000|0||0.0000|1",
                  "2026-12-06|YPRUEBA01|001|100.000|2.000|78|YCOMP0002||I|0.50000|0||0.0000|1",
                  "2026-12-06|YPRUEBA01|001|100.000|2.000|78|YSUBPR001|001|P|0.25000|0||0.0000|1",
              }));
    EXPECT_EQ(movimientos(numero), (std::vector<std::string>{
                                       "7|2026-12-06|P|YPRUEBA01|001|100.000|78|0|juan",
                                       "8|2026-12-06|I|YCOMP0001||-250.000|78|0|juan",
                                       "8|2026-12-06|I|YCOMP0002||-50.000|78|0|juan",
                                       "8|2026-12-06|P|YSUBPR001|001|-25.000|78|0|juan",
                                   }));
    EXPECT_EQ(stock(), (std::vector<std::string>{
                           "I|YCOMP0001||750.000",
                           "I|YCOMP0002||-50.000",
                           "P|YPRUEBA01|001|100.000",
                           "P|YSUBPR001|001|175.000",
                       }));
}

// 500 units need 1250 of YCOMP0001 (1000 held) and 125 of YSUBPR001 (200 held): the
// window lists the first only; nothing is written, and the list is back as it was, so the
// user can change the voucher or leave it. Waits as above, one more for the Down in the
// first list of especificaciones, up to F8 (58), the window (59), the list again (60),
// "Desea salir" (61) and the next header (62).
TEST_F(IngresoOnLineTest, AShortageWritesNothingAndLeavesTheListAsItWas) {
    const long antes = contador();
    const auto stock_antes = stock();
    cabecera("001", "500", "0");
    editar(1, "801", "0800", "1200");
    term.keys({kDown});
    editar(0, "802", "1300", "1530");
    term.keys({kF8, kEsc, kEsc, 'S', kEsc});
    vales::VALES_INGRESO_ON_LINE();
    ASSERT_EQ(term.snapshots().size(), 63u);
    EXPECT_EQ(en_espera(59), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 001       Con actividades                                       │
 │Cantidad:         500,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘

┌< Error - Stock Insuficiente >────────────────────────────────────────────────────────────────────┐
│T Producto  Frm Descripción                                Requerido          Stock       Faltante│
├──────────────────────────────────────────────────────────────────────────────────────────────────┤
│I YCOMP0001     Arena de prueba                             1.250,00       1.000,00         250,00│
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
│                                                                                                  │
└──────────────────────────────────────────────────────────────────────────────────────────────────┘











                                       [↑] [↓]    [Esc]Salir
)"));
    EXPECT_EQ(en_espera(60), en_espera(58));
    EXPECT_EQ(contador(), antes);
    EXPECT_EQ(filas_propias("vales"), 0);
    EXPECT_EQ(filas_propias("mov_stock"), 0);
    EXPECT_EQ(stock(), stock_antes);
}

}  // namespace
