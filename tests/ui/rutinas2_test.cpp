#include "ui/rutinas2.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/common/codepage.h"
#include "support/screen_test.h"

namespace {

using namespace ui;
using rt::key::kBackspace;
using rt::key::kDel;
using rt::key::kEnter;
using rt::key::kEsc;

class Rutinas2Test : public testing_support::ScreenTest {
  protected:
    Rutinas2Test() {
        console.set_colour("w/b,+w/r");
        console.clear_screen();
    }
};

TEST_F(Rutinas2Test, MsgCentresAndHighlightsBracketGroups) {
    ui::MSG("[Enter] Buscar / Opciones", 32, 29, 60, "w/bg", "+gr/bg");
    // 25 characters centred in 60: 17 blanks before.
    EXPECT_EQ(row_text(32, 29, 60),
              std::string(17, ' ') + "[Enter] Buscar / Opciones" + std::string(18, ' '));
    EXPECT_EQ(colour_at(32, 29 + 17), "+GR/BG");
    EXPECT_EQ(colour_at(32, 29 + 23), "+GR/BG");  // the closing bracket
    EXPECT_EQ(colour_at(32, 29 + 24), "W/BG");
    EXPECT_EQ(colour_at(32, 28), "W/B");  // outside the width nothing is written
}

TEST_F(Rutinas2Test, MsgDefaultsBlankTheLastRowAndKeepTheCursor) {
    console.write_at(35, 0, "texto viejo");
    console.set_pos(5, 7);
    ui::MSG("");
    EXPECT_EQ(row_text(35), std::string(100, ' '));
    EXPECT_EQ(colour_at(35, 0), "W/B");
    EXPECT_EQ(console.row(), 5);
    EXPECT_EQ(console.col(), 7);
    ui::MSG("Hola [x]", {}, 0, 100, "w/r");  // a colour alone brightens the brackets
    EXPECT_EQ(colour_at(35, 51), "+W/R");
    EXPECT_EQ(colour_at(35, 50), "W/R");
    ui::MSG("Año [Esc]"_oem);
    EXPECT_EQ(row_text(35, 45, 9), "Año [Esc]");
    EXPECT_EQ(colour_at(35, 49), "+GR/R");
}

TEST_F(Rutinas2Test, MsgboxGeometryForFortyCharactersAndScreenRestored) {
    console.write_at(16, 0, cp::Oem(100, 'x'));
    const cp::Oem text(40, 'M');
    term.keys({'k'});
    EXPECT_FALSE(ui::MSGBOX("  " + text + "  "));
    const auto& shot = term.snapshots().back().grid;
    using testing_support::grid_row_text;
    std::string top = "┌";
    for (int i = 0; i < 41; ++i) top += "─";
    EXPECT_EQ(grid_row_text(shot, 15, 28, 43), top + "┐");
    EXPECT_EQ(grid_row_text(shot, 16, 28, 43), "│" + text.str() + " │");
    EXPECT_EQ(testing_support::attr_text(shot[16][29].attr), "+GR/R");
    EXPECT_EQ(testing_support::attr_text(shot[16][69].attr), "+W/R");
    EXPECT_EQ(testing_support::attr_text(shot[15][28].attr), "+W/R");
    EXPECT_EQ(grid_row_text(shot, 16, 27, 1), "x");
    ASSERT_EQ(term.tones().size(), 1u);
    EXPECT_EQ(term.tones()[0].hertz, 100);
    EXPECT_EQ(term.tones()[0].ticks, 3);
    EXPECT_EQ(row_text(16), std::string(100, 'x'));  // put back
    EXPECT_TRUE(term.script_empty());                // the key was consumed
}

TEST_F(Rutinas2Test, MsgboxGoesAwayByItselfAfterThreeSeconds) {
    const double start = console.monotonic();
    ui::MSGBOX("Sin tecla");
    EXPECT_DOUBLE_EQ(console.monotonic() - start, 3.0);
}

TEST_F(Rutinas2Test, ConfirmaIgnoresEscAndEveryKeyButSOrN) {
    struct Case {
        std::vector<int> keys;
        bool answer;
    } cases[] = {
        {{kEsc, 'x', kEnter, 's'}, true}, {{'S'}, true}, {{kEsc, 'n'}, false}, {{'N'}, false}};
    for (const auto& c : cases) {
        for (int k : c.keys) term.keys({k});
        EXPECT_EQ(ui::CONFIRMA("Desea salir del sistema"), c.answer);
        EXPECT_TRUE(term.script_empty());
    }
    // The question stood on row 11 with the answers below it.
    const auto& shot = term.snapshots().back().grid;
    EXPECT_EQ(testing_support::grid_row_text(shot, 11, 38, 23), "Desea salir del sistema");
    EXPECT_EQ(testing_support::grid_row_text(shot, 13, 45, 10), "[ S ] SI  ");
    EXPECT_EQ(testing_support::grid_row_text(shot, 14, 45, 10), "[ N ] NO  ");
    EXPECT_EQ(testing_support::attr_text(shot[13][47].attr), "+W/R");
    EXPECT_EQ(testing_support::attr_text(shot[13][45].attr), "W/R");
    EXPECT_EQ(row_text(11), std::string(100, ' '));
}

TEST_F(Rutinas2Test, GetpassLimitsEchoAndBeeps) {
    term.type("abcdefghij").keys({'k', kBackspace, 'Z', kEnter});
    EXPECT_EQ(ui::GETPASS(28, 17, 4, 10, "+w/n", true), "abcdefghiZ");
    ASSERT_EQ(term.tones().size(), 1u);  // only the eleventh character beeped
    EXPECT_EQ(term.tones()[0].hertz, 300);
    EXPECT_EQ(testing_support::grid_row_text(term.snapshots().back().grid, 28, 17, 11),
              "********** ");
}

TEST_F(Rutinas2Test, GetpassShortPasswordEmptyEnterDelAndEsc) {
    term.keys({kEnter, '1', '2', '3', kEnter}).pause(0).keys({'x'}).keys({kDel, kEsc});
    console.set_pos(3, 3);
    EXPECT_EQ(ui::GETPASS(10, 10), "");
    EXPECT_EQ(term.tones().size(), 2u);  // the empty Enter, then the message box's tone
    EXPECT_EQ(term.tones()[1].hertz, 100);
    EXPECT_EQ(console.row(), 3);
    EXPECT_EQ(console.col(), 3);
    // The message box was on screen while it waited.
    bool seen = false;
    for (const auto& s : term.snapshots()) {
        seen |=
            testing_support::grid_row_text(s.grid, 16, 0, 100).find("ERROR: Mínimo 4 caracteres") !=
            std::string::npos;
    }
    EXPECT_TRUE(seen);
}

TEST_F(Rutinas2Test, GetpassAcceptsLettersDigitsAndEnye) {
    term.keys({0xA4, 0xA5, '-', ' ', 'a', '9', kEnter});
    EXPECT_EQ(ui::GETPASS(1, 1),
              "\xA4\xA5"
              "a9");
    EXPECT_EQ(term.tones().size(), 2u);
}

TEST_F(Rutinas2Test, PassrootRestoresItsRegion) {
    console.write_at(17, 50, cp::Oem(30, '#'));
    const auto correcta = [](const std::string& clave) { return clave == "58206137"; };
    term.type("58206137").keys({kEnter});
    EXPECT_TRUE(ui::PASSROOT(correcta));
    EXPECT_EQ(row_text(17, 50, 30), std::string(30, '#'));
    EXPECT_EQ(testing_support::grid_row_text(term.snapshots().front().grid, 17, 51, 17),
              "Ingrese password:");
    term.keys({kEsc});
    EXPECT_FALSE(ui::PASSROOT(correcta));
    term.type("58206138").keys({kEnter});
    EXPECT_FALSE(ui::PASSROOT(correcta));
}

TEST_F(Rutinas2Test, MolinoTurnsOncePerInterval) {
    console.set_pos(2, 2);
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) {
        ui::MOLINO(24, 79);
        term.advance(0.01);
        seen.push_back(row_text(24, 79, 1));
    }
    // The first call only starts the clock; then one step per interval.
    EXPECT_EQ(seen, (std::vector<std::string>{" ", "|", "/", "─", "\\", "|"}));
    EXPECT_EQ(console.row(), 2);
    ui::MOLINO(24, 79);
    ui::MOLINO(24, 79);  // called again within the interval: no step
    EXPECT_EQ(row_text(24, 79, 1), "/");
}

TEST(Strzero, PadsWithZerosKeepingTheWidth) {
    struct Case {
        double n;
        std::optional<int> width;
        int decimals;
        const char* expected;
    } cases[] = {
        {-5, 4, 0, "-005"},     {42, 8, 0, "00000042"},   {3.14159, 7, 2, "0003.14"},
        {12345, 3, 0, "***"},   {7, {}, 0, "0000000007"}, {0, 2, 0, "00"},
        {-1.5, 6, 1, "-001.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::STRZERO(c.n, c.width, c.decimals), c.expected);
}

TEST(Ctoarr, SplitsWithoutEmptyPieces) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ui::CTOARR("  uno dos  tres "), (V{"uno", "dos", "tres"}));
    EXPECT_EQ(ui::CTOARR("a,,b", ','), (V{"a", "b"}));
    EXPECT_EQ(ui::CTOARR("a, b", ','), (V{"a", " b"}));
    EXPECT_EQ(ui::CTOARR("   "), V{});
    EXPECT_EQ(ui::CTOARR(",  ,x,", ','), (V{"x"}));
}

class NomarchTest : public testing_support::ScreenTest {
  protected:
    NomarchTest() {
        dir = std::filesystem::temp_directory_path() / ("nomarch_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        term.set_local_time({2026, 12, 6, 9, 0, 0, 25});
    }
    ~NomarchTest() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir, previous;
};

TEST_F(NomarchTest, NamesFromTheClock) {
    EXPECT_EQ(ui::NOMARCH2("ntx"), "03240025.ntx");
    EXPECT_EQ(ui::NOMARCH2("dbf"), "03240025.dbf");
    EXPECT_EQ(ui::NOMARCH2(), "03240025");
    term.set_local_time({2026, 12, 6, 14, 30, 15, 0});
    EXPECT_EQ(ui::NOMARCH("dbf"), "6143015.dbf");
    EXPECT_EQ(ui::NOMARCH("dbf", "temp\\\\"), "temp\\6143015.dbf");
}

TEST_F(NomarchTest, AnExistingNameIsNeverGiven) {
    std::ofstream("03240025.ntx") << "x";
    const std::string name = ui::NOMARCH2("ntx");
    EXPECT_NE(name, "03240025.ntx");
    EXPECT_EQ(name.size(), std::string("03240025.ntx").size());
}

}  // namespace
