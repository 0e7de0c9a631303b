// The product form on the virtual terminal against a company database of its own.
#include <gtest/gtest.h>

#include <functional>

#include "abm/abm_productos_edicion.h"
#include "abm/gencodigo.h"
#include "catalogo_fixture.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/temp_table.h"
#include "ui/tablas_trabajo.h"

namespace {

using namespace abm;
using namespace rt::key;
using prueba::Mensajes;
using testing_support::picture;

class FormularioProducto : public prueba::CatalogoTest {
  protected:
    std::vector<std::string> producto(const std::string& codigo, const std::string& formula) {
        return filas(
            "select codi_prod, codi_form, desc_prod, desc_form, unid_med, l_activo, moneda, "
            "cuenta, peso, stock_min, stock_max, cantidad, codi_form_rel, observ from prodvtas "
            "where codi_prod='" +
            codigo + "' and codi_form='" + formula + "'");
    }
    std::vector<std::string> catalogo() {
        return filas("select * from prodvtas order by codi_prod, codi_form");
    }
    // The row and column where the cursor stood at the n-th last key wait.
    std::pair<int, int> cursor(std::size_t n = 0) const {
        const auto& c = term.snapshots()[term.snapshots().size() - 1 - n].cursor;
        return {c.row, c.col};
    }
};

TEST_F(FormularioProducto, ViewOnlyShowsEverythingAndStoresNothing) {
    const auto antes = catalogo();
    term.keys({kDown, kEsc});
    EXPECT_FALSE(EDIT_PRODUCTOS("L01AA0110", "001", false));
    EXPECT_EQ(shown_screen(), picture(R"(




                      ┌<Modificar>────────────────────────────────────────────────────────────────┐
                      │Codigo: L01AA0110                                                          │
                      │Descripción: Ladrillo refractario 'Súper' 230x114x65                       │
                      │                                                                           │
                      │Fórmula: 001                                                               │
                      │Detalle: Estándar                                                          │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │U.Medida: UN      Cant. de unidades:           1,00                        │
                      │Moneda  : 1                                                                │
                      │Cuenta  : 101                                                              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Fórmula asociada ('---' = ninguno): ---                                    │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Peso:         3,45   Stock Min:     500,00   Stock Max:   5.000,00         │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Costo:    (No autorizado para ver esta información)                        │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Observaciones:                                                             │
                      │Ladrillo de uso general.                                                   │
                      │Cono 32.                                                                   │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      └───────────────────────────────────────────────────────────────────────────┘
)"));
    EXPECT_EQ(catalogo(), antes);
    EXPECT_EQ(mensajes(), Mensajes{}) << "no message box for the refused costs";
    EXPECT_EQ(screen_text(), picture("")) << "the screen is put back";
}

TEST_F(FormularioProducto, CostsForWhoMaySeeThem) {
    como_supervisor();
    term.keys({kEsc});
    EXPECT_FALSE(EDIT_PRODUCTOS("L01AA0110", "001"));
    EXPECT_EQ(shown_row(19),
              "                      │Costo:         412,50   Ultimo proceso de "
              "calculo: 30/11/2026              │ ");
    EXPECT_EQ(
        shown_colours({{"+G/N", 'l'}, {"W/N", 'v'}, {"+W/R", 'c'}, {"+BG/N", '|'}}, 19, 22, 19, 98),
        picture(R"(
|llllll|vvvvvvvvvvvvvv|||llllllllllllllllllllllllll|vvvvvvvvvv|||||||||||||||
)",
                1));
}

using FormularioEnModo = prueba::CatalogoEnModo<FormularioProducto>;

TEST_P(FormularioEnModo, ObservationsWithAnApostropheAndEightBitLettersAreStoredExactly) {
    como_supervisor();
    // PgDn ends the form without changing a field; the observations are edited (Ins: the
    // text is inserted before what they held); confirmed.
    term.keys({kPgDn, kIns})
        .type(
            "O'Higgins \xA4"
            "and\xA3 ")
        .keys({kCtrlW})
        .type("s");
    EXPECT_TRUE(EDIT_PRODUCTOS("L01AA0110", "001"));
    EXPECT_EQ(shown_screen(), picture(R"(




                      ┌<Modificar>────────────────────────────────────────────────────────────────┐
                      │Codigo: L01AA0110                                                          │
                      │Descripción: Ladrillo refractario 'Súper' 230x114x65                       │
                      │                                                                           │
                      │Fórmula: 001                                                               │
                      │Detalle: Estándar                                                          │
                      ├────────────────┌────────────────────┐─────────────────────────────────────┤
                      │U.Medida: UN    │Confirma actualizar │         1,00                        │
                      │Moneda  : 1     │                    │                                     │
                      │Cuenta  : 101   │     [ S ] SI       │                                     │
                      ├────────────────│     [ N ] NO       │─────────────────────────────────────┤
                      │Fórmula asociada└────────────────────┘-                                    │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Peso:         3,45   Stock Min:     500,00   Stock Max:   5.000,00         │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Costo:         412,50   Ultimo proceso de calculo: 30/11/2026              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Observaciones:                                                             │
                      │O'Higgins ñandú Ladrillo de uso general.                                   │
                      │Cono 32.                                                                   │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      └───────────────────── [Control+W] Grabar      [Esc] Salir ─────────────────┘
)")) << "the question";
    EXPECT_EQ(producto("L01AA0110", "001"),
              std::vector<std::string>{
                  "L01AA0110|001|Ladrillo refractario 'Súper' 230x114x65|Estándar|UN|1|1|101|3.45|"
                  "500.00|5000.00|1.00|---|O'Higgins ñandú Ladrillo de uso general.\r\nCono 32."});
}

INSTANTIATE_TEST_SUITE_P(Modos, FormularioEnModo, testing::ValuesIn(prueba::modos_sql()),
                         prueba::nombre_modo);

TEST_F(FormularioProducto, NothingChangedOrNotConfirmedStoresNothing) {
    como_supervisor();
    const auto antes = catalogo();
    struct Case {
        std::string name;
        std::function<void()> keys;
    };
    const Case cases[] = {
        {"nothing changed, Ctrl+W",
         [this] {
             term.keys({kPgDn, kCtrlW});
         }},
        {"nothing changed, Esc",
         [this] {
             term.keys({kPgDn, kEsc});
         }},
        {"form left with Esc", [this] { term.type("Otro").keys({kEsc}); }},
        {"changes dropped", [this] { term.keys({kPgDn}).type("x").keys({kEsc}).type("Y"); }},
        {"not confirmed",
         [this] {
             term.type("Otro").keys({kPgDn, kCtrlW}).type("n");
         }},
    };
    for (const auto& c : cases) {
        c.keys();
        EXPECT_FALSE(EDIT_PRODUCTOS("L01AA0110", "001")) << c.name;
        EXPECT_TRUE(term.script_empty()) << c.name;
        EXPECT_EQ(catalogo(), antes) << c.name;
    }
}

TEST_F(FormularioProducto, ValidationsKeepTheCursorInTheField) {
    como_supervisor();
    const auto antes = catalogo();
    struct Case {
        std::string name;
        int downs;  // from the description
        std::string typed;
        int row_after;  // where the cursor is after Enter
    };
    const Case cases[] = {
        {"units 0", 3, "0", 11},
        {"units 5", 3, "5", 12},
        {"currency 3", 4, "3", 12},
        {"currency 2", 4, "2", 13},
        {"currency 1", 4, "1", 13},
        {"own formula", 6, "001", 15},
        {"no related formula", 6, "---", 17},
        {"another formula", 6, "003", 17},
        {"empty description", 0, "", 6},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.downs; ++i) term.keys({kDown});
        if (c.typed.empty()) term.keys({kCtrlY});
        term.type(c.typed).keys({kEnter, kEsc});
        EXPECT_FALSE(EDIT_PRODUCTOS("L01AA0110", "001")) << c.name;
        EXPECT_EQ(cursor().first, c.row_after) << c.name;
    }
    EXPECT_EQ(catalogo(), antes);
}

TEST_F(FormularioProducto, AChangedFieldIsStoredWithItsListRow) {
    como_supervisor();
    // The product list's work table, on the product's row.
    rt::wt::TempTable tabla;
    ASSERT_TRUE(tabla.open("temp/prueba_form.dbf", ui::tablas::productos(), "XPRUEBA"));
    tabla->append();
    tabla->set_text("CODIGO", "M02BB0220");
    tabla->set_text("CODI_FORM", "001");
    tabla->set_text("DESCRIP", "Mortero refractario fraguado al aire");
    term.keys({kCtrlY}).type("Mortero de alta al\xA3mina").keys({kDown, kCtrlY});
    term.type("Saco 30 kg").keys({kDown, kDown}).type("30").keys({kDown, kDown}).type("205");
    term.keys({kPgDn, kCtrlW}).type("S");
    EXPECT_TRUE(EDIT_PRODUCTOS("M02BB0220", "001"));
    EXPECT_EQ(producto("M02BB0220", "001"),
              std::vector<std::string>{"M02BB0220|001|Mortero de alta alúmina|Saco 30 kg|KG|1|1|"
                                       "205|1.00|100.00|2000.00|30.00|---|"});
    EXPECT_EQ(tabla->text("DESCRIP"), cp::utf8_to_oem("Mortero de alta alúmina").padded(50).str());
    EXPECT_EQ(tabla->text("DESC_FORM"), cp::Oem("Saco 30 kg").padded(50).str());
    EXPECT_EQ(tabla->rec_count(), 1u);
}

// The console has no "—", "€" or curly quotes: the form shows their nearest forms, and a
// text goes back to the server as it was stored unless its own field was edited.
TEST_F(FormularioProducto, TextsTheConsoleCannotShowAreKeptUnlessTheirFieldIsEdited) {
    como_supervisor();
    sql("update prodvtas set desc_prod='" + "Mortero “Súper” — 25 €"_ansi + "', desc_form='" +
        "Saco – 25 kg"_ansi + "', observ='" + "Fragua ‘rápido’"_ansi +
        "' where codi_prod='M02BB0220' and codi_form='001'");
    struct Case {
        std::string name;
        std::function<void()> keys;
        std::string stored;
    };
    const Case cases[] = {
        {"only the weight",
         [this] {
             for (int i = 0; i < 7; ++i) term.keys({kDown});
             term.type("2").keys({kPgDn, kCtrlW}).type("s");
         },
         "M02BB0220|001|Mortero “Súper” — 25 €|Saco – 25 kg|KG|1|1|102|2.00|100.00|2000.00|"
         "25.00|---|Fragua ‘rápido’"},
        {"only the observations",
         [this] {
             term.keys({kPgDn, kIns}).type("Nota ").keys({kCtrlW}).type("s");
         },
         "M02BB0220|001|Mortero “Súper” — 25 €|Saco – 25 kg|KG|1|1|102|2.00|100.00|2000.00|"
         "25.00|---|Nota Fragua 'rápido'"},
        {"the description",
         [this] {
             term.keys({kCtrlY}).type("Mortero nuevo").keys({kPgDn, kCtrlW}).type("s");
         },
         "M02BB0220|001|Mortero nuevo|Saco – 25 kg|KG|1|1|102|2.00|100.00|2000.00|25.00|---|"
         "Nota Fragua 'rápido'"},
    };
    for (const auto& c : cases) {
        c.keys();
        const std::size_t primera = term.snapshots().size();
        EXPECT_TRUE(EDIT_PRODUCTOS("M02BB0220", "001")) << c.name;
        EXPECT_EQ(producto("M02BB0220", "001"), std::vector<std::string>{c.stored}) << c.name;
        EXPECT_EQ(testing_support::grid_row_text(term.snapshots()[primera].grid, 9, 22, 40),
                  "│Detalle: Saco - 25 kg                  ")
            << c.name << ": the nearest forms on the screen";
    }
}

// Another user stores a change while this one edits: the save writes nothing over it, says
// so, and the form comes back as the other user left it.
TEST_F(FormularioProducto, AChangeStoredMeanwhileByAnotherUserIsNeverUndone) {
    como_supervisor();
    const auto antes = producto("M02BB0220", "001");
    term.keys({kCtrlY}).type("Mortero de A").then([this] {
        sql("update prodvtas set desc_form='Detalle de B' where codi_prod='M02BB0220'");
    });
    term.keys({kPgDn, kCtrlW}).type("s").pause(3).keys({kEsc});
    EXPECT_FALSE(EDIT_PRODUCTOS("M02BB0220", "001"));
    EXPECT_EQ(mensajes(),
              Mensajes{"El producto fue modificado por otro usuario: se vuelve a leer"});
    std::string esperado = antes[0];  // "codigo|formula|descripcion|detalle|...": B's detalle
    std::size_t desde = 0;
    for (int campo = 0; campo < 3; ++campo) desde = esperado.find('|', desde) + 1;
    esperado.replace(desde, esperado.find('|', desde) - desde, "Detalle de B");
    EXPECT_EQ(producto("M02BB0220", "001"), std::vector<std::string>{esperado});
    EXPECT_NE(shown_row(9).find("│Detalle: Detalle de B  "), std::string::npos) << screen_dump();
}

TEST_F(FormularioProducto, AServerErrorOnStoringIsShownAndNothingChanges) {
    como_supervisor();
    sql("alter table prodvtas drop column cuenta");
    term.type("X").keys({kPgDn, kCtrlW}).type("s").keys({kEnter});
    EXPECT_FALSE(EDIT_PRODUCTOS("M02BB0220", "001"));
    EXPECT_NE(shown_row(17).find("Unknown column 'cuenta'"), std::string::npos) << screen_dump();
}

TEST_F(FormularioProducto, AProductThatIsNotThereIsAnError) {
    term.pause(3);
    EXPECT_FALSE(EDIT_PRODUCTOS("NOEXISTE", "001"));
    EXPECT_EQ(mensajes(), Mensajes{"Error en base de datos..."});
}

class ProductoNuevo : public FormularioProducto {
  protected:
    ProductoNuevo() {
        // The family list chooses M02ZZ, the format 45 and the packaging 07: M02ZZ4507
        // (family M uses formats and packagings; its own row announces new products).
        auto elige = [](std::string v) { return [v](const TeclaExtra&) { return v; }; };
        anteriores_ =
            instalar_listas_codificacion({elige("M02ZZ"), elige("1"), elige("45"), elige("07")});
    }
    ~ProductoNuevo() override { instalar_listas_codificacion(anteriores_); }

    // Description, formula description, unit; the rest as it comes.
    void datos_del_producto() {
        term.type("Mortero nuevo").keys({kDown}).type("Saco").keys({kDown}).type("KG");
        term.keys({kPgDn}).type("Nuevo").keys({kCtrlW}).type("s");
    }

  private:
    ListasCodificacion anteriores_;
};

TEST_F(ProductoNuevo, TheGeneratedCodeIsAddedActiveWithABlankFormula) {
    como_supervisor();
    datos_del_producto();
    term.type("n");  // no announcement by mail
    EXPECT_TRUE(EDIT_PRODUCTOS());
    EXPECT_EQ(shown_screen(2), picture(R"(




                      ┌<Agregar>──────────────────────────────────────────────────────────────────┐
                      │Codigo: M02ZZ4507                                                          │
                      │Descripción: Mortero nuevo                                                 │
                      │                                                                           │
                      │Fórmula:                                                                   │
                      │Detalle: Saco                                                              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │U.Medida: KG      Cant. de unidades:           1,00                        │
                      │Moneda  : 1                                                                │
                      │Cuenta  :   0                                                              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Fórmula asociada ('---' = ninguno): ---                                    │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Peso:         0,00   Stock Min:       0,00   Stock Max:       0,00         │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Costo:           0,00   Ultimo proceso de calculo: 30/11/2026              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Observaciones:                                                             │
                      │Nuevo                                                                      │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      └───────────────────── [Control+W] Grabar      [Esc] Salir ─────────────────┘
)")) << "the form of a new product, before the question";
    EXPECT_EQ(shown_screen(), picture(R"(




                      ┌<Agregar>──────────────────────────────────────────────────────────────────┐
                      │Codigo: M02ZZ4507                                                          │
                      │Descripción: Mortero nuevo                                                 │
                      │                                                                           │
                      │Fórmula:                                                                   │
                      │Detalle: Saco                                                              │
                      ├────┌────────────────────────────────────────────┐─────────────────────────┤
                      │U.Me│Desea enviar mail anunciando nuevo producto │0                        │
                      │Mone│                                            │                         │
                      │Cuen│                 [ S ] SI                   │                         │
                      ├────│                 [ N ] NO                   │─────────────────────────┤
                      │Fórm└────────────────────────────────────────────┘                         │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Peso:         0,00   Stock Min:       0,00   Stock Max:       0,00         │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Costo:           0,00   Ultimo proceso de calculo: 30/11/2026              │
                      ├───────────────────────────────────────────────────────────────────────────┤
                      │Observaciones:                                                             │
                      │Nuevo                                                                      │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      │                                                                           │
                      └───────────────────── [Control+W] Grabar      [Esc] Salir ─────────────────┘
)")) << "the family announces its new products";
    EXPECT_EQ(producto("M02ZZ4507", ""),
              std::vector<std::string>{
                  "M02ZZ4507||Mortero nuevo|Saco|KG|1|1|0|0.00|0.00|0.00|1.00|---|Nuevo"});
}

TEST_F(ProductoNuevo, ACodeAlreadyInUseIsRefused) {
    sql("insert into prodvtas (codi_prod, codi_form, desc_prod) values ('M02ZZ4507', '', 'Ya')");
    term.pause(3);
    EXPECT_FALSE(EDIT_PRODUCTOS());
    EXPECT_EQ(mensajes(), Mensajes{"Código ya existe"});
    EXPECT_TRUE(CODREPETIDO("M02ZZ4507"));
    EXPECT_FALSE(CODREPETIDO("L01AA0110")) << "only base products (blank formula) count";
}

TEST_F(ProductoNuevo, TheFirstProductOfAnEmptyCatalogue) {
    como_supervisor();
    sql("delete from prodvtas");
    datos_del_producto();
    term.type("n");
    EXPECT_TRUE(EDIT_PRODUCTOS());
    EXPECT_EQ(filas("select codi_prod, desc_prod from prodvtas"),
              std::vector<std::string>{"M02ZZ4507|Mortero nuevo"});
}

TEST_F(FormularioProducto, LastCostRunDate) {
    EXPECT_EQ(ULTPROCESO().text(), "30/11/2026");
    sql("delete from paramet");
    EXPECT_TRUE(ULTPROCESO().empty());
}

}  // namespace
