// The product code generator with coding lists given by the test, against the family
// table of a company database of its own.
#include <gtest/gtest.h>

#include <map>

#include "abm/gencodigo.h"
#include "catalogo_fixture.h"
#include "runtime/screen/keys.h"

namespace {

using namespace abm;
using namespace rt::key;
using prueba::Mensajes;
using testing_support::picture;

// A coding list as the user would run it: F2 runs the extra action, Enter chooses the
// list's value, Esc leaves without choosing.
ListaCodificacion lista(std::string valor) {
    return [valor](const TeclaExtra& extra) -> std::string {
        for (;;) {
            const int key = rt::con().inkey(0);
            if (key == extra.tecla && extra.accion) extra.accion();
            if (key == kEnter) return valor;
            if (key == kEsc) return {};
        }
    };
}

class Generador : public prueba::CatalogoTest {
  protected:
    Generador() {
        // Q borrows its settings from L (for its subfamily 01 only); R from the component
        // family 1; S has no settings at all; T's own row says nothing but its mirror does.
        sql("insert into familias (codi_familia, codi_subfamilia, tipo_estado, tipo_formato, "
            "codi_espejo, codi_espejo_insumos) values "
            "('Q', '00', 'T', '', 'L', '1'), ('Q', '01', 'T', '', '', ''), "
            "('R', '00', 'T', '', '', '1'), ('S', '00', 'T', '', '', '')");
        sql("insert into prodvtas (codi_prod, codi_form, desc_prod) values "
            "('L01AA1200', '', 'Ladrillo denso base'), "
            "('L01AB1100', '', 'Ladrillo denso liviano'), "
            "('L01AA2300', '001', 'Ladrillo denso con formula')");
        anteriores_ = instalar_listas_codificacion({});
    }
    ~Generador() override { instalar_listas_codificacion(anteriores_); }

    // The lists give these values when the user presses Enter in them.
    void listas(std::string familia, std::string malla, std::string formato, std::string embalaje) {
        instalar_listas_codificacion(
            {lista(familia), lista(malla), lista(formato), lista(embalaje)});
    }

  private:
    ListasCodificacion anteriores_;
};

TEST_F(Generador, WithThisSystemsListsTheCodeIsEmpty) {
    instalar_listas_codificacion({});
    EXPECT_EQ(GENCODIGO(), "");
    EXPECT_EQ(term.waits(), 0) << "nothing to choose: it returns at once";
    EXPECT_EQ(screen_text(), picture("")) << "and leaves the screen as it was";
}

TEST_F(Generador, TheCodeIsComposedAsTheFamilySays) {
    struct Case {
        std::string name;
        std::string familia, malla, formato, embalaje;
        std::function<void()> keys;
        std::string codigo;
        Mensajes shown;
    };
    const auto enters = [this](int n) {
        return [this, n] {
            for (int i = 0; i < n; ++i) term.keys({kEnter});
        };
    };
    const Case cases[] = {
        // Formats, then the process and "0" (state type "P"); the process list is the
        // catalogue's: its first row is A.
        {"formats and a process", "L01AA", "", "23", "", enters(3), "L01AA23A0", {}},
        // Meshes, one character each (own row P/00 says "M"; the test's mesh list gives "1"
        // both times), then a process chosen below the first.
        {"meshes and a process",
         "P00XY",
         "1",
         "",
         "",
         [this] {
             term.keys({kEnter, kEnter, kEnter, kDown, kEnter});
         },
         "P00XY11B0",
         {}},
        // Formats and a packaging (state type "T").
        {"formats and a packaging", "M02ZZ", "", "45", "07", enters(3), "M02ZZ4507", {}},
        // No kind of its own: the product mirror's row for the same subfamily.
        {"product mirror", "Q01AB", "", "33", "09", enters(3), "Q01AB3309", {}},
        // The mirror has no row for that subfamily: an error, though a component mirror
        // is set.
        {"product mirror without the row",
         "Q02AB",
         "",
         "33",
         "09",
         [this] { term.keys({kEnter}).pause(3); },
         "",
         {"ERROR: Debe definir si familia usa Formatos o Mallas"}},
        // No product mirror: the component family's row.
        {"component mirror", "R00AB", "", "12", "34", enters(3), "R00AB1234", {}},
        {"no settings",
         "S00AB",
         "",
         "12",
         "34",
         [this] { term.keys({kEnter}).pause(3); },
         "",
         {"ERROR: Debe definir si familia usa Formatos o Mallas"}},
        // A step left without choosing empties the code and skips the rest.
        {"family left", "L01AA", "", "23", "", [this] { term.keys({kEsc}); }, "", {}},
        {"format left",
         "L01AA",
         "",
         "23",
         "",
         [this] {
             term.keys({kEnter, kEsc});
         },
         "",
         {}},
        {"lower mesh left",
         "P00XY",
         "1",
         "",
         "",
         [this] {
             term.keys({kEnter, kEnter, kEsc});
         },
         "",
         {}},
        {"process left",
         "L01AA",
         "",
         "23",
         "",
         [this] {
             term.keys({kEnter, kEnter, kEsc});
         },
         "",
         {}},
        {"packaging left",
         "M02ZZ",
         "",
         "45",
         "07",
         [this] {
             term.keys({kEnter, kEnter, kEsc});
         },
         "",
         {}},
        // A list that gives a part of another width leaves no code.
        {"format of one character", "M02ZZ", "", "4", "07", enters(2), "", {}},
    };
    for (const auto& c : cases) {
        listas(c.familia, c.malla, c.formato, c.embalaje);
        c.keys();
        EXPECT_EQ(GENCODIGO(), c.codigo) << c.name;
        EXPECT_EQ(mensajes(), c.shown) << c.name;
        EXPECT_TRUE(term.script_empty()) << c.name;
    }
}

TEST_F(Generador, TheScreenShowsTheLayoutAndThePartialCode) {
    listas("L01AA", "", "23", "");
    term.keys({kEnter, kEnter, kEsc});
    EXPECT_EQ(GENCODIGO(), "");
    EXPECT_EQ(shown_screen(1), picture(R"(




 ┌──────────────────────┐
 │<Generar nuevo código>│
 │                      │
 │L01AA                 │
 │XXXXXXXXX             │
 │┬──┬─┬─┬─             │
 ││  │ │ │              │
 ││  │ │ └>Tipo Embalaje│
 ││  │ │                │
 ││  │ └>Formatos/Mallas│
 ││  │                  │
 ││  └>Materiales o Tipo│
 ││                     │
 ││                     │
 │└>Familias/Subfamilias│
 ├──────────────────────┤
 │                      │
 │Productos que cumplen │
 │con código parcial    │
 │                      │
 │[F2]Ver productos     │
 │                      │
 ├──────────────────────┤
 │                      │
 │                      │
 │  Seleccione          │
 │  Formato de          │
 │  Producto            │
 │                      │
 └──────────────────────┘
)")) << "the format step, with the code so far";
    EXPECT_EQ(shown_colours({{"+BG/N", 'f'},
                             {"+GR/N", 'm'},
                             {"+G/N", 'g'},
                             {"+W/N", 'e'},
                             {"G/N", '.'},
                             {"W/N", 'w'},
                             {"N/N", ' '}},
                            4, 1, 19, 24, 1),
              picture(R"(
........................
.wwwwwwwwwwwwwwwwwwwwww.
........................
.wwwwwwwww..............
.fffmmggee..............
.fffmmggee..............
.f..m.g.e...............
.f..m.g.eeeeeeeeeeeeeee.
.f..m.g.................
.f..m.ggggggggggggggggg.
.f..m...................
.f..mmmmmmmmmmmmmmmmmmm.
.f......................
.f......................
.ffffffffffffffffffffff.
........................
)",
                      16));
}

TEST_F(Generador, F2ListsTheBaseProductsThatMatchThePartialCode) {
    listas("L01AA", "", "23", "");
    // F2 at the family step (nothing chosen yet) does nothing; at the format step it lists
    // the base products of L01AA; at the process step (L01AA23) too.
    term.keys({kF2, kEnter, kF2, kEsc, kEnter, kF2}).pause(3).keys({kEnter});
    EXPECT_EQ(GENCODIGO(), "L01AA23A0");
    EXPECT_EQ(mensajes(), Mensajes{"ADVERTENCIA: No existen registros"})
        << "no base product begins with L01AA23";
    EXPECT_EQ(shown_screen(4), picture(R"(




 ┌──────────────────────┐ ┌───────────────────────────────────────────────────────────────────────┐
 │<Generar nuevo código>│ │L01AA1200 Ladrillo denso base                                          │
 │                      │ │                                                                       │
 │L01AA                 │ │                                                                       │
 │XXXXXXXXX             │ │                                                                       │
 │┬──┬─┬─┬─             │ │                                                                       │
 ││  │ │ │              │ │                                                                       │
 ││  │ │ └>Tipo Embalaje│ │                                                                       │
 ││  │ │                │ │                                                                       │
 ││  │ └>Formatos/Mallas│ │                                                                       │
 ││  │                  │ │                                                                       │
 ││  └>Materiales o Tipo│ │                                                                       │
 ││                     │ │                                                                       │
 ││                     │ │                                                                       │
 │└>Familias/Subfamilias│ │                                                                       │
 ├──────────────────────┤ │                                                                       │
 │                      │ │                                                                       │
 │Productos que cumplen │ │                                                                       │
 │con código parcial    │ │                                                                       │
 │                      │ │                                                                       │
 │[F2]Ver productos     │ │                                                                       │
 │                      │ │                                                                       │
 ├──────────────────────┤ │                                                                       │
 │                      │ │                                                                       │
 │                      │ │                                                                       │
 │  Seleccione          │ │                                                                       │
 │  Formato de          │ │                                                                       │
 │  Producto            │ │                                                                       │
 │                      │ │                                                                       │
 └──────────────────────┘ └[↑][↓]─────────────────────────────────────────────────────────────────┘
)"));
    EXPECT_EQ(console.key_handler(kF2), nullptr) << "the F2 binding is put back";
}

TEST_F(Generador, VerdetcumplenOnItsOwn) {
    VERDETCUMPLEN("");
    EXPECT_EQ(term.waits(), 0);
    int llamadas = 0;
    console.set_key_handler(kF2, [&](const std::string&, int, const std::string&) { ++llamadas; });
    term.keys({kF2, kEsc});
    VERDETCUMPLEN("L01");
    EXPECT_EQ(llamadas, 0) << "F2 is unbound while the list is shown";
    EXPECT_NE(console.key_handler(kF2), nullptr) << "and bound again afterwards";
    EXPECT_EQ(screen_text(), picture("")) << "the screen is put back";
}

}  // namespace
