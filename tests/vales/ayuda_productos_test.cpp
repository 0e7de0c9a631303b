// F1 on the product field of the on-line entry: the product catalogue in pick mode, whose
// choice the header form then checks.
#include <gtest/gtest.h>

#include <string>

#include "runtime/worktables/workspace.h"
#include "vales/ingreso_on_line_fixture.h"

namespace {

using namespace rt::key;
using testing_support::picture;

class AyudaProductosTest : public prueba::IngresoOnLine {};

// The date as it stands, warehouse 78, then F1 in the product field: the catalogue. A
// search for PIEZA DE lists both formulas of YPRUEBA01; Left on the second types code,
// Enter, formula and Enter into the header, which names both and goes on to the quantity.
TEST_F(AyudaProductosTest, LeftOnAProductFillsProductAndFormula) {
    term.keys({kEnter}).type("78").keys({kEnter, kF1});
    term.type("pieza de").keys({kEnter, kDown, kLeft});
    term.keys({kEsc});  // the header, on the quantity: leave
    vales::VALES_INGRESO_ON_LINE();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(shown_screen(2), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodeg╔<Productos>═══════════════════════════════════════════════════════════╗
 │Producto:                ║Código    Frm Descripción                                        Std  ║
 │Fórmula :                ║─────────────────↓↓───────────────────────────────────────────────────║
 │Cantidad:           0,00 ║YPRUEBA01 001 Pieza de ingreso                                    ◄   ║
 └─────────────────────────║YPRUEBA01 002 Pieza de ingreso                                    ◄   ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║                                                                      ║
                           ║──────────────────────────────────────────────────────────────────────║
                           ║    Con actividades                                                   ║
                           ║────────────────────────────────(2)───────────────────────────────────║
                           ║       Buscar:<PIEZA DE                                          >    ║
                           ║                                                                      ║
                           ║[F2]Stock [F5]Orden [F6]Fórmula [F8]Filtro [F10]Re-Buscar [F12]Activos║
                           ║[←]Seleccionar  [Enter]Buscar  [INS]Agregar  [Control+Enter]Modificar ║
                           ╚[↑][↓]════════════════════════════════════════════════════════════════╝
)")) << "the catalogue over the entry, after the search";
    EXPECT_EQ(shown_screen(), picture(R"(



 ┌──────────────────────────────────────────────< Ingreso de Vales ON-LINE >┐
 │Fecha: 06/12/2026   Bodega:  78                                           │
 │Producto: YPRUEBA01 Pieza de ingreso                                      │
 │Fórmula : 002       Sin actividades                                       │
 │Cantidad:           0,00   Malas:           0,00                          │
 └──────────────────────────────────────────────────────────────────────────┘
)")) << "the header took and named both; the cursor is on the quantity";
    EXPECT_EQ(term.snapshots().back().cursor.row, 7);
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

// Left on the empty catalogue chooses nothing; Esc gives the header back as it was, on the
// product field.
TEST_F(AyudaProductosTest, NothingChosenLeavesTheFieldAsItWas) {
    term.keys({kEnter}).type("78").keys({kEnter, kF1, kLeft, kEsc, kEsc});
    vales::VALES_INGRESO_ON_LINE();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(shown_screen(), shown_screen(3)) << "the header before F1 and after the catalogue";
    EXPECT_EQ(term.snapshots().back().cursor.row, 5);
    EXPECT_EQ(rt::wt::workspace().open_count(), 0u);
}

}  // namespace
