#include <gtest/gtest.h>

#include "support/screen_test.h"

namespace {

using rt::key::kDown;
using rt::key::kEnter;
using rt::key::kEsc;
using rt::key::kUp;

class MenuTest : public testing_support::ScreenTest {
  protected:
    void nine_prompts() {
        console.set_colour("+g/n,+w/g");
        const cp::OemView texts[] = {" Conectar",    " Desconectar", " Ingreso ON",
                                     " Ingreso OFF", " Lista",       " Obtener",
                                     " Enviar",      " Imprimir",    " Salir"};
        int row = 4;
        for (const cp::OemView t : texts) console.prompt(row++, 2, t);
    }
    int choice = 1;
};

TEST_F(MenuTest, UpOnTheFirstPromptWrapsToTheLastWithoutChoosing) {
    nine_prompts();
    term.keys({kUp, kEnter});
    EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), 9);
    // At the second wait the highlight stood on prompt 9 and prompt 1 was back to normal.
    auto& shot = term.snapshots().back().grid;
    EXPECT_EQ(testing_support::attr_text(shot[12][2].attr), "+W/G");
    EXPECT_EQ(testing_support::attr_text(shot[4][2].attr), "+G/N");
}

TEST_F(MenuTest, DownOnTheLastWrapsToTheFirst) {
    nine_prompts();
    choice = 9;
    term.keys({kDown, kEnter});
    EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), 1);
    EXPECT_EQ(choice, 1);
}

TEST_F(MenuTest, LettersChooseTheUpperPromptAndUnknownLettersDoNothing) {
    struct Case {
        std::vector<int> keys;
        int expected;
    } cases[] = {
        {{'i'}, 3}, {{'I'}, 3}, {{'d'}, 2}, {{'x', 's'}, 9}, {{'e'}, 7}, {{kEsc}, 0},
    };
    for (const auto& c : cases) {
        nine_prompts();
        for (int k : c.keys) term.keys({k});
        choice = 1;
        EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), c.expected);
        EXPECT_TRUE(term.script_empty());
    }
}

TEST_F(MenuTest, StartsOnTheVariablesPromptClampedToTheMenu) {
    struct Case {
        int start;
        int expected;
    } cases[] = {{3, 3}, {0, 1}, {-4, 1}, {42, 9}};
    for (const auto& c : cases) {
        nine_prompts();
        choice = c.start;
        term.keys({kEnter});
        EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), c.expected);
    }
    nine_prompts();
    term.keys({kEnter});
    EXPECT_EQ(console.menu_to("nSinVariable"), 1);
}

TEST_F(MenuTest, WithoutPromptsReturnsZeroAtOnce) {
    EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), 0);
    EXPECT_EQ(term.waits(), 0);
}

TEST_F(MenuTest, HandlerSeesTheCurrentPromptAndMayMoveIt) {
    nine_prompts();
    std::string seen;
    console.set_key_handler(rt::key::kF1,
                            [&](const std::string& proc, int, const std::string& var) {
                                seen = proc + ":" + var + ":" + std::to_string(choice);
                                choice = 5;
                            });
    term.keys({kDown, rt::key::kF1, kEnter});
    EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion", "MAIN"), 5);
    EXPECT_EQ(seen, "MAIN:NOPCION:2");
}

TEST_F(MenuTest, NestedMenuFromAHandlerHasItsOwnPrompts) {
    nine_prompts();
    int inner_result = -1;
    console.set_key_handler(rt::key::kF2, [&](auto&, int, auto&) {
        console.prompt(20, 50, " Local");
        console.prompt(21, 50, " Remoto");
        inner_result = console.menu_to("nModo");
    });
    term.keys({rt::key::kF2, kDown, kEnter, kEnter});
    EXPECT_EQ(console.menu_to(rt::bind(choice), "nOpcion"), 1);
    EXPECT_EQ(inner_result, 2);
}

TEST_F(MenuTest, EndsWithTheCursorOnTheRowAboveTheLast) {
    nine_prompts();
    console.set_cursor_shape(1);
    term.keys({kEnter});
    console.menu_to(rt::bind(choice), "nOpcion");
    EXPECT_EQ(console.row(), 34);
    EXPECT_EQ(console.col(), 0);
    EXPECT_EQ(console.cursor_shape(), 1);
}

}  // namespace
