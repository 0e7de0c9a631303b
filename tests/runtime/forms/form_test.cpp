#include <gtest/gtest.h>

#include "runtime/forms/form.h"
#include "support/screen_test.h"

namespace {

using namespace rt::key;
using rt::Fecha;
using rt::Form;
using testing_support::attr_text;

class FormTest : public testing_support::ScreenTest {
  protected:
    FormTest() { console.set_colour("w/n,+w/r,,,w/b"); }
    // Where the cursor stood while the form waited for its n-th key (0 = first).
    const rt::CursorState& cursor_at_wait(std::size_t n) const {
        return term.snapshots().at(n).cursor;
    }
    std::string shown_colour(std::size_t wait, int row, int col) const {
        return attr_text(term.snapshots().at(wait).grid[row][col].attr);
    }
    Form form;
};

TEST_F(FormTest, DownOnTheLastFieldStaysAndEnterEndsTheForm) {
    cp::Oem a("   "), b("   ");
    form.field(2, 10, a, "cxA").field(3, 10, b, "cxB");
    term.keys({kDown, kDown}).type("x").keys({kEnter});
    EXPECT_TRUE(form.read("PRUEBA"));
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(b, "x  ");
    EXPECT_EQ(a, "   ");
    EXPECT_EQ(console.last_key(), kEnter);
}

TEST_F(FormTest, EscInTheSecondFieldKeepsWhatTheFirstStored) {
    double first = 1, second = 2;
    form.field(2, 10, first, "nxUno", "999").field(3, 10, second, "nxDos", "999");
    term.type("5").keys({kEnter}).type("7").keys({kEsc});
    EXPECT_TRUE(form.read());
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(console.last_key(), kEsc);
    EXPECT_EQ(row_text(3, 10, 3), "  2");  // shown again with the old value
}

TEST_F(FormTest, TypingIntoAFieldStoresWhatTheMaskMakesOfIt) {
    struct Case {
        const char* what;
        const char* mask;
        rt::Value start;
        const char* keys;
        rt::Value stored;
        const char* shown;
    } cases[] = {
        {"first digit replaces the number", "99999999", 123.0, "4", 4.0, "       4"},
        {"@! upper-cases", "@!", std::string(9, ' '), "ab12x", std::string("AB12X    "),
         "AB12X    "},
        {"99:99 skips the colon", "99:99", std::string("  :  "), "0930", std::string("09:30"),
         "09:30"},
        {"@E exchanges the separators", "@E 9,999,999.99", 0.0, "1234,5", 1234.5, "    1.234,50"},
        {"! upper-cases one position", "!", std::string(" "), "p", std::string("P"), "P"},
        {"999 on a text takes digits only", "999", std::string("007"), "1x2", std::string("127"),
         "127"},
    };
    for (const Case& c : cases) {
        rt::Value v = c.start;
        rt::Binding bound([&] { return v; }, [&](const rt::Value& x) { v = x; });
        Form f;
        f.field(5, 20, bound, "xCampo", c.mask);
        term.type(c.keys).keys({kEnter});
        f.read();
        EXPECT_EQ(v, c.stored) << c.what;
        EXPECT_EQ(row_text(5, 20, static_cast<int>(std::string_view(c.shown).size())), c.shown)
            << c.what;
    }
}

TEST_F(FormTest, TheCursorJumpsOverTheColon) {
    cp::Oem hora("  :  ");
    form.field(30, 58, hora, "cxHoraIni", "99:99");
    term.type("0930").keys({kEnter});
    form.read();
    EXPECT_EQ(cursor_at_wait(0).col, 58);
    EXPECT_EQ(cursor_at_wait(2).col, 61);  // after "09" the cursor stands past the colon
    EXPECT_EQ(cursor_at_wait(4).col, 63);  // typed full: one column past the field
    EXPECT_EQ(hora, "09:30");
}

TEST_F(FormTest, ASkippedFieldIsNeverEnteredInEitherDirection) {
    cp::Oem a("a"), b("b"), c("c");
    int asked = 0;
    form.field(2, 10, a, "cxA")
        .field(3, 10, b, "cxB", "", {}, [&] { return ++asked, false; })
        .field(4, 10, c, "cxC");
    term.keys({kEnter, kUp, kEsc});
    form.read();
    EXPECT_EQ(cursor_at_wait(0).row, 2);
    EXPECT_EQ(cursor_at_wait(1).row, 4);
    EXPECT_EQ(cursor_at_wait(2).row, 2);
    EXPECT_EQ(asked, 2);
}

TEST_F(FormTest, EnterEndsTheFormWhenTheFieldsAfterItAreSkipped) {
    cp::Oem a("a"), b("b");
    form.field(2, 10, a, "cxA").field(3, 10, b, "cxB", "", {}, [] { return false; });
    term.keys({kEnter});
    form.read();
    EXPECT_TRUE(term.script_empty());
    EXPECT_EQ(console.last_key(), kEnter);
}

TEST_F(FormTest, AFailingValidationOnPgDnKeepsTheCursorInTheField) {
    double cantidad = 0, malas = 0;
    int checks = 0;
    form.field(7, 12, cantidad, "nxCantidad", "@E 999,999,999.99", [&] {
        ++checks;
        return cantidad > 0;
    });
    form.field(7, 36, malas, "nxMalas", "@E 999,999,999.99");
    term.keys({kPgDn}).type("5").keys({kPgDn});
    form.read();
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(cursor_at_wait(1).row, 7);
    EXPECT_EQ(cursor_at_wait(1).col, 12);  // back on the first position
    EXPECT_EQ(cantidad, 5);
    EXPECT_EQ(console.last_key(), kPgDn);
}

TEST_F(FormTest, AValidationThatChangesTheVariableIsShown) {
    cp::Oem code("   ");
    form.field(2, 10, code, "cxCodigo", "", [&] {
        code = "---";
        return true;
    });
    term.type("ab").keys({kEnter});
    EXPECT_TRUE(form.read());
    EXPECT_EQ(row_text(2, 10, 3), "---");
}

TEST_F(FormTest, AHelpListFillsTheNumberFieldThroughTheKeyboardBuffer) {
    double operario = 123;
    cp::Oem hora("  :  ");
    int checks = 0;
    std::string seen_proc, seen_var;
    double seen_value = -1;
    console.set_key_handler(kF1, [&](const std::string& proc, int, const std::string& var) {
        seen_proc = proc;
        seen_var = var;
        seen_value = operario;
        rt::con().put_keys(
            cp::Oem(std::string{static_cast<char>(kHome)} + "45" + static_cast<char>(kEnter)));
    });
    form.field(29, 58, operario, "nxOperario", "999", [&] { return ++checks, operario > 0; });
    form.field(30, 58, hora, "cxHoraIni", "99:99");
    term.type("9").keys({kF1, kEsc});
    form.read("CTRL_ITEM");
    console.set_key_handler(kF1);
    EXPECT_EQ(seen_proc, "CTRL_ITEM");
    EXPECT_EQ(seen_var, "NXOPERARIO");
    EXPECT_EQ(seen_value, 9);  // what was typed is stored before the handler runs
    EXPECT_EQ(operario, 45);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(cursor_at_wait(1).row, 29);  // the F1 wait; the buffered keys need no wait
    EXPECT_EQ(cursor_at_wait(2).row, 30);  // Enter moved on to the next field
}

TEST_F(FormTest, AnInvalidDateKeepsTheCursorOnTheField) {
    Fecha fecha;
    double bodega = 0;
    form.field(4, 9, fecha, "dxFecha").field(4, 30, bodega, "nxBodega", "999");
    term.type("31022026").keys({kEnter}).type("28").keys({kEnter, kEsc});
    form.read();
    EXPECT_EQ(cursor_at_wait(9).row, 4);
    EXPECT_EQ(cursor_at_wait(9).col, 9);
    EXPECT_EQ(cursor_at_wait(12).col, 30);
    EXPECT_EQ(fecha, *Fecha::from_ymd(2026, 2, 28));
}

TEST_F(FormTest, FieldsShowUnselectedAndTheCurrentOneEnhanced) {
    double importe = 1234.5;
    cp::Oem nombre("abc");
    form.field(5, 20, importe, "nxImporte", "@E 9,999,999.99");
    EXPECT_EQ(row_text(5, 20, 12), "    1.234,50");
    EXPECT_EQ(colour_at(5, 20), "W/B");
    EXPECT_EQ(console.col(), 32);  // the cursor stands after the field
    form.field(6, 20, nombre, "cxNombre");
    term.keys({kDown, kEnter});
    form.read();
    EXPECT_EQ(shown_colour(0, 5, 20), "+W/R");
    EXPECT_EQ(shown_colour(0, 6, 20), "W/B");
    EXPECT_EQ(shown_colour(1, 5, 20), "W/B");
    EXPECT_EQ(shown_colour(1, 6, 20), "+W/R");
    EXPECT_EQ(colour_at(5, 20), "W/B");
    EXPECT_EQ(colour_at(6, 20), "W/B");
}

TEST_F(FormTest, TheCursorShowsOnlyWhileWaitingInTheShapeTheFormFound) {
    struct Case {
        int shape_before, shape_waiting;
    } cases[] = {{0, 1}, {1, 1}, {3, 3}};
    for (const Case& c : cases) {
        cp::Oem user("   ");
        Form f;
        f.field(27, 17, user, "cUser");
        console.set_cursor_shape(c.shape_before);
        term.keys({kEnter});
        f.read();
        EXPECT_EQ(term.snapshots().back().cursor.shape, c.shape_waiting);
        EXPECT_EQ(console.cursor_shape(), c.shape_before);
        EXPECT_EQ(console.row(), 34);
        EXPECT_EQ(console.col(), 0);
    }
}

TEST_F(FormTest, WithoutConfirmAFieldTypedFullMovesOn) {
    console.settings().confirm = false;
    cp::Oem a(" "), b("  ");
    form.field(2, 10, a, "cxA", "!").field(3, 10, b, "cxB");
    term.type("xyz");
    form.read();
    EXPECT_EQ(a, "X");
    EXPECT_EQ(b, "yz");
    EXPECT_EQ(console.last_key(), 'z');
}

TEST_F(FormTest, WithConfirmAFieldTypedFullWaitsForAMovementKey) {
    cp::Oem a(" "), b("  ");
    form.field(2, 10, a, "cxA", "!").field(3, 10, b, "cxB");
    term.type("xy").keys({kEsc});
    form.read();
    EXPECT_EQ(a, " ");  // Esc undid the field that was never left
    EXPECT_EQ(cursor_at_wait(2).row, 2);
}

TEST_F(FormTest, CtrlUUndoesTheFieldAndEscLeavesItAsItWas) {
    double n = 7;
    cp::Oem t("ab");
    form.field(2, 10, n, "nxN", "999").field(3, 10, t, "cxT");
    term.type("3").keys({kCtrlU, kEnter}).type("zz").keys({kEsc});
    EXPECT_FALSE(form.read());
    EXPECT_EQ(n, 7);
    EXPECT_EQ(t, "ab");
    EXPECT_EQ(row_text(3, 10, 2), "ab");
}

TEST_F(FormTest, UpOnTheFirstFieldStaysAndCtrlHomeGoesBackToIt) {
    cp::Oem a("a"), b("b");
    form.field(2, 10, a, "cxA").field(3, 10, b, "cxB");
    term.keys({kUp, kDown, kCtrlHome, kPgUp});
    form.read();
    EXPECT_EQ(cursor_at_wait(1).row, 2);
    EXPECT_EQ(cursor_at_wait(2).row, 3);
    EXPECT_EQ(cursor_at_wait(3).row, 2);
    EXPECT_EQ(console.last_key(), kPgUp);
}

TEST_F(FormTest, TheLastKeyIsTheOneThatEndedTheFormEvenIfAValidationReadKeys) {
    cp::Oem a(" ");
    form.field(2, 10, a, "cxA", "", [] {
        rt::con().inkey(3);  // a message box waiting for a key
        return true;
    });
    term.keys({kEnter, 'q'});
    form.read();
    EXPECT_EQ(console.last_key(), kEnter);
}

TEST_F(FormTest, AFormWhoseFieldsAreAllSkippedReadsNoKey) {
    cp::Oem a("a");
    form.field(2, 10, a, "cxA", "", {}, [] { return false; });
    EXPECT_FALSE(form.read());
    EXPECT_EQ(term.waits(), 0);
}

TEST_F(FormTest, AnIntVariableIsStoredRounded) {
    int cuenta = 12;
    form.field(13, 33, cuenta, "nxCuenta", "999");
    term.type("-8").keys({kEnter});
    form.read();
    EXPECT_EQ(cuenta, -8);
}

}  // namespace

// A form ended early, or changed after a later field was checked, is taken up again at the
// first field its validation refuses; Esc still leaves at once.
TEST_F(FormTest, ACheckedFormEndsOnlyWithEveryFieldValid) {
    struct Case {
        const char* what;
        std::vector<int> keys;
        double cantidad, malas;
        int end_key;
        std::vector<int> waits_on_row;  // the row of the cursor at each key wait
    };
    const std::vector<Case> cases = {
        {"PgDn on the first field goes on at the blank note it never visited",
         {'5', kPgDn, 'x', kEnter},
         5,
         0,
         kEnter,
         {7, 7, 9, 9}},
        {"a quantity lowered below the rejected one takes the rejected field up again",
         {'5', kEnter, '3', kUp, '2', kPgDn, '1', kEnter, 'x', kEnter},
         2,
         1,
         kEnter,
         {7, 7, 8, 8, 7, 7, 8, 8, 9, 9}},
        {"Esc leaves whatever the fields hold", {'5', kPgDn, kEsc}, 5, 0, kEsc, {7, 7, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double cantidad = 0, malas = 0;
        cp::Oem nota("   ");
        rt::Form f;
        f.field(7, 12, cantidad, "nxCantidad", "999", [&] { return cantidad > 0; });
        f.field(8, 12, malas, "nxMalas", "999", [&] { return malas >= 0 && malas <= cantidad; });
        f.field(9, 12, nota, "cxNota", "", [&] { return !nota.trimmed().empty(); });
        const std::size_t first_wait = term.snapshots().size();
        for (int k : c.keys) term.keys({k});
        f.read_checked("PRUEBA");
        EXPECT_TRUE(term.script_empty());
        EXPECT_EQ(cantidad, c.cantidad);
        EXPECT_EQ(malas, c.malas);
        EXPECT_EQ(console.last_key(), c.end_key);
        std::vector<int> rows;
        for (std::size_t w = first_wait; w < term.snapshots().size(); ++w)
            rows.push_back(term.snapshots()[w].cursor.row);
        EXPECT_EQ(rows, c.waits_on_row);
    }
}
