// Random keystrokes into a form holding every mask the program uses, over many runs of the
// form: nothing crashes, no field writes past its width, and every variable keeps a value
// of its type that its mask can show.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "support/screen_test.h"

namespace {

using namespace rt::key;

class FormFuzz : public testing_support::ScreenTest {
  protected:
    cp::Oem producto = cp::Oem(9, ' '), formula = cp::Oem("   "), empresa = cp::Oem("007"),
            hora = cp::Oem("  :  "), codigo = cp::Oem(" "), relacionada = cp::Oem("---"),
            usuario = cp::Oem(15, ' '), vacio;
    rt::Fecha fecha = *rt::Fecha::from_ymd(2026, 12, 7);
    double cantidad = 0, peso = 1234.5, stock = -3, desde = 123, libre = 2.5;
    int bodega = 1, moneda = 1;
    bool activo = true;
    rt::Value suelto = 0.0;  // reached through a pair of callbacks
    bool codigo_editable = true;

    struct Declared {
        int width;
        std::function<void()> check;  // the variable holds a value its mask can show
    };
    std::vector<Declared> declared;

    void text(int width, const cp::Oem& s, const char* name) {
        declared.push_back(
            {width, [&s, width, name] { ASSERT_EQ(static_cast<int>(s.size()), width) << name; }});
    }
    void number(int width, const double& n, double limit, const char* name) {
        declared.push_back({width, [&n, limit, name] {
                                ASSERT_TRUE(std::isfinite(n)) << name;
                                ASSERT_LT(std::fabs(n), limit) << name;
                            }});
    }

    // Declares the form, one field a row, with a "|" just past each field's width.
    rt::Form make_form() {
        declared.clear();
        rt::Form form;
        int row = 0;
        auto add = [&](rt::Binding b, const char* name, const char* mask, int width,
                       rt::FieldCheck valid = {}, rt::FieldCheck when = {}) {
            ++row;
            console.write_at(row, 10 + width, "|");
            form.field(row, 10, std::move(b), name, mask, std::move(valid), std::move(when));
        };
        add(producto, "cxProducto", "@!", 9);
        text(9, producto, "producto");
        add(formula, "cxFormula", "@!", 3, [&] { return formula != "ZZZ"; });
        text(3, formula, "formula");
        add(empresa, "cEmpresa", "999", 3);
        text(3, empresa, "empresa");
        add(hora, "cxHoraIni", "99:99", 5, [&] { return hora[2] == ':'; });
        text(5, hora, "hora");
        add(codigo, "cxCodigo", "!", 1, {}, [&] { return codigo_editable; });
        text(1, codigo, "codigo");
        add(relacionada, "cxCodiForm_rel", "!!!", 3, [&] {
            if (relacionada == "   ") relacionada = "---";  // a validation that writes
            return true;
        });
        text(3, relacionada, "relacionada");
        add(usuario, "cUser", "", 15);
        text(15, usuario, "usuario");
        add(vacio, "cxVacio", "", 0);
        text(0, vacio, "vacio");
        add(fecha, "dxFecha", "", 10, [&] { return !fecha.empty(); });
        declared.push_back({10, [] {}});  // a Fecha cannot hold anything but a date
        add(cantidad, "nxCantidad", "@E 999,999,999.99", 14, [&] { return cantidad >= 0; });
        number(14, cantidad, 1e9, "cantidad");
        add(peso, "nxPeso", "@E 9,999,999.99", 12);
        number(12, peso, 1e7, "peso");
        add(stock, "nxStk_Min", "@E 999,999.99", 10);
        number(10, stock, 1e6, "stock");
        add(bodega, "nxBodega", "999", 3, [&] { return bodega != 13; });
        declared.push_back({3, [&] { ASSERT_LT(std::abs(bodega), 1000); }});
        add(moneda, "nxMoneda", "9", 1);
        declared.push_back({1, [&] { ASSERT_LT(std::abs(moneda), 10); }});
        add(desde, "nxDesde", "99999999", 8);
        number(8, desde, 1e8, "desde");
        add(libre, "nxLibre", "", 10);
        number(10, libre, 1e10, "libre");
        add(activo, "lxActivo", "", 1);
        declared.push_back({1, [] {}});
        add(rt::Binding([&] { return suelto; }, [&](const rt::Value& v) { suelto = v; }),
            "nxSuelto", "@E 9,999,999.99", 12);
        declared.push_back({12, [&] { ASSERT_TRUE(std::holds_alternative<double>(suelto)); }});
        return form;
    }

    void check_invariants() {
        for (std::size_t i = 0; i < declared.size(); ++i) {
            declared[i].check();
            int row = static_cast<int>(i) + 1;
            ASSERT_EQ(console.cell(row, 10 + declared[i].width).ch, '|') << "row " << row;
        }
    }
};

int pick(std::mt19937& rng, std::initializer_list<int> codes) {
    auto i = std::uniform_int_distribution<std::size_t>(0, codes.size() - 1)(rng);
    return *(codes.begin() + i);
}

// Mostly typing and editing, drifting forwards through the fields so that a run reaches the
// last ones; now and then a help key, a key that ends the form or any code at all.
int random_key(std::mt19937& rng) {
    static const std::string printable = "0123456789abcXYZ .,-+:/*" + "ñá"_oem.str() + "\xFE\x80";
    int roll = std::uniform_int_distribution<int>(0, 999)(rng);
    if (roll < 500) {
        return static_cast<unsigned char>(
            printable[std::uniform_int_distribution<std::size_t>(0, printable.size() - 1)(rng)]);
    }
    if (roll < 750) {
        return pick(rng, {kHome, kEnd, kLeft, kRight, kCtrlLeft, kCtrlRight, kDel, kBackspace,
                          kCtrlT, kCtrlY, kCtrlBackspace, kIns, kCtrlU});
    }
    if (roll < 890) return pick(rng, {kDown, kTab, kEnter});
    if (roll < 940) return pick(rng, {kUp, kShiftTab});
    if (roll < 950) return kCtrlHome;
    if (roll < 970) return kF1;
    if (roll < 974) return pick(rng, {kEsc, kPgDn, kPgUp, kCtrlW});
    int code = std::uniform_int_distribution<int>(-50, 300)(rng);
    return code == 0 ? kF2 : code;
}

TEST_F(FormFuzz, HundredThousandRandomKeysLeaveEveryVariableSound) {
    std::mt19937 rng(20261207);
    int handler_calls = 0;
    std::set<std::string> seen_fields;
    console.set_key_handler(kF1, [&](const std::string&, int, const std::string& var) {
        ++handler_calls;
        seen_fields.insert(var);
        ASSERT_FALSE(var.empty());
        check_invariants();  // the buffer was stored before the handler ran
        if (handler_calls % 7 == 0) producto = "HELP     ";
    });
    long consumed = 0;
    int runs = 0;
    while (consumed < 100000) {
        ++runs;
        console.settings().confirm = runs % 3 != 0;
        codigo_editable = runs % 2 == 0;
        rt::Form form = make_form();
        std::vector<int> keys(400);
        for (int& k : keys) k = random_key(rng);
        keys.push_back(kEsc);  // a run always ends
        console.put_keys(keys);
        form.read("FUZZ");
        ASSERT_FALSE(HasFatalFailure()) << "run " << runs;
        int left = 0;
        while (console.inkey() != 0) ++left;
        consumed += static_cast<long>(keys.size()) - left;
        check_invariants();
        ASSERT_FALSE(HasFatalFailure()) << "run " << runs;
    }
    console.set_key_handler(kF1);
    EXPECT_GE(consumed, 100000);
    EXPECT_GT(handler_calls, 100);
    EXPECT_EQ(seen_fields.size(), declared.size());  // every field was reached
    EXPECT_EQ(term.waits(), 0);                      // every key came from the buffer
}

}  // namespace
