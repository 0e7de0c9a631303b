#include "runtime/worktables/work_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "runtime/worktables/temp_table.h"
#include "runtime/worktables/workspace.h"
#include "ui/tablas_trabajo.h"

namespace rt::wt {
namespace {

// The application's own work tables serve as realistic examples.
namespace tables = ui::tablas;

namespace fs = std::filesystem;

// Each test gets a folder of its own for the table and index files.
class WorkTableTest : public ::testing::Test {
  protected:
    WorkTableTest() {
        folder_ = fs::temp_directory_path() /
                  ("vales_wt_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
    }
    ~WorkTableTest() override {
        ws.close_all();
        fs::remove_all(folder_);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::size_t files_left() const {
        if (!fs::exists(folder_)) return 0;
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    // The operator table, filled with the names given, in that order.
    WorkTable& operators(const std::vector<std::string>& names) {
        EXPECT_TRUE(oper.open(path("1.dbf"), tables::operario(), tables::kOperarioAlias));
        EXPECT_TRUE(oper.index(path("1.ntx"), tables::kOperarioKey));
        for (std::size_t i = 0; i < names.size(); ++i) {
            oper->append();
            oper->set_text("NOMBRE", names[i]);
            oper->set_number("CODI_OPER", static_cast<double>(i + 1));
        }
        return *oper;
    }

    // Names in the controlling order, from the top, as a browser would see them.
    static std::vector<std::string> listed(WorkTable& t, const char* field = "NOMBRE") {
        std::vector<std::string> out;
        for (t.go_top(); !t.eof(); t.skip()) {
            std::string s = t.text(field);
            out.push_back(s.substr(0, s.find_last_not_of(' ') + 1));
        }
        return out;
    }

    Workspace ws;
    TempTable oper{ws};
    fs::path folder_;
};

TEST_F(WorkTableTest, AppendsAndFieldChangesKeepTheOrder) {
    WorkTable& t = operators({"perez", "Alvarez", "mu\xA4oz", "Ortiz", "ALVAREZ"});
    // Upper(NOMBRE): case does not count; equal keys keep the order they were added in.
    EXPECT_EQ(listed(t),
              (std::vector<std::string>{"Alvarez", "ALVAREZ", "mu\xA4oz", "Ortiz", "perez"}));
    t.go_top();
    t.set_text("NOMBRE", "Zapata");  // the first one moves to the end
    EXPECT_EQ(listed(t).back(), "Zapata");
    EXPECT_EQ(t.rec_count(), 5u);
}

TEST_F(WorkTableTest, ZapLeavesTheTableEmptyAndStillIndexed) {
    WorkTable& t = operators({"c", "a", "b"});
    t.zap();
    EXPECT_EQ(t.rec_count(), 0u);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.order(), 1);
    for (const char* n : {"Rojas", "Diaz",
                          "Nu\xA4"
                          "ez"}) {
        t.append();
        t.set_text("NOMBRE", n);
    }
    EXPECT_EQ(listed(t), (std::vector<std::string>{"Diaz",
                                                   "Nu\xA4"
                                                   "ez",
                                                   "Rojas"}));
}

TEST_F(WorkTableTest, DeletedRecordsAreHiddenButCounted) {
    WorkTable& t = operators({"a", "b", "c", "d"});
    for (const char* gone : {"b", "d"}) {
        for (t.go_top(); t.text("NOMBRE")[0] != gone[0]; t.skip()) {
        }
        t.mark_deleted();
    }
    EXPECT_EQ(listed(t), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(t.rec_count(), 4u);
    t.go_bottom();
    EXPECT_EQ(t.text("NOMBRE")[0], 'c');
    ws.set_hide_deleted(false);
    EXPECT_EQ(listed(t).size(), 4u);
}

TEST_F(WorkTableTest, SkipReportsHowFarItWentAtBothEnds) {
    WorkTable& t = operators({"a", "b", "c", "d", "e"});
    t.go_top();
    EXPECT_EQ(t.skip(2), 2);
    EXPECT_EQ(t.text("NOMBRE")[0], 'c');
    EXPECT_EQ(t.skip(-5), -2);  // stops on the first, at the beginning
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.text("NOMBRE")[0], 'a');
    EXPECT_EQ(t.skip(10), 4);  // forward past the last: the end position
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recno(), 6u);
    EXPECT_EQ(t.text("NOMBRE"), std::string(40, ' '));  // the end reads blank
    EXPECT_EQ(t.number("CODI_OPER"), 0);
    EXPECT_FALSE(t.set_text("NOMBRE", "x"));  // and takes no assignment
    EXPECT_EQ(t.skip(-1), -1);                // back from the end: the last record
    EXPECT_EQ(t.text("NOMBRE")[0], 'e');
    EXPECT_EQ(t.skip_within(3), 0);  // the browser's skip never leaves the records
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.skip_within(-9), -4);
    EXPECT_FALSE(t.bof());
}

TEST_F(WorkTableTest, SettleFindsAVisibleRecordAfterADelete) {
    WorkTable& t = operators({"a", "b", "c"});
    t.go_bottom();
    t.mark_deleted();  // the last one: settles on the one before
    ASSERT_TRUE(t.settle());
    EXPECT_EQ(t.text("NOMBRE")[0], 'b');
    t.go_top();
    t.mark_deleted();  // the first one: settles on the next
    ASSERT_TRUE(t.settle());
    EXPECT_EQ(t.text("NOMBRE")[0], 'b');
    t.mark_deleted();
    EXPECT_FALSE(t.settle());
    EXPECT_TRUE(t.eof());
}

TEST_F(WorkTableTest, TwoOrdersAndSeek) {
    TempTable prod(ws);
    ASSERT_TRUE(prod.open(path("p.dbf"), tables::productos(), tables::kProductosAlias));
    ASSERT_TRUE(prod.index(path("p1.ntx"), tables::kProductosKeyCode));
    ASSERT_TRUE(prod.index(path("p2.ntx"), tables::kProductosKeyName));
    EXPECT_EQ(prod->order(), 1);  // adding an order does not change the controlling one
    struct Row {
        const char *code, *form, *name;
    };
    for (Row r : {Row{"B00000001", "01", "mortero"}, Row{"A00000002", "02", "Ladrillo"},
                  Row{"A00000002", "01", "ladrillo"}, Row{"C00000003", "01", "arcilla"}}) {
        prod->append();
        prod->set_text("CODIGO", r.code);
        prod->set_text("CODI_FORM", r.form);
        prod->set_text("DESCRIP", r.name);
    }
    EXPECT_EQ(listed(*prod, "CODIGO"),
              (std::vector<std::string>{"A00000002", "A00000002", "B00000001", "C00000003"}));
    prod->set_order(2);
    EXPECT_EQ(listed(*prod, "DESCRIP"),
              (std::vector<std::string>{"arcilla", "ladrillo", "Ladrillo", "mortero"}));
    EXPECT_TRUE(prod->seek("LADRILLO"));
    EXPECT_EQ(prod->text("CODI_FORM"), "01 ");
    EXPECT_FALSE(prod->seek("LAMINA"));
    EXPECT_TRUE(prod->eof());
    EXPECT_FALSE(prod->seek("LAMINA", true));  // soft: the next key up
    EXPECT_EQ(prod->text("DESCRIP").substr(0, 7), "mortero");
    prod->set_order(7);  // not open: ignored
    EXPECT_EQ(prod->order(), 2);
}

TEST_F(WorkTableTest, NamesStayTakenUntilErasedAndNothingIsLeftBehind) {
    {
        TempTable prod(ws);
        ASSERT_TRUE(prod.open(path("t.dbf"), tables::productos(), "XABCDEF"));
        ASSERT_TRUE(prod.index(path("a.ntx"), tables::kProductosKeyCode));
        ASSERT_TRUE(prod.index(path("b.ntx"), tables::kProductosKeyName));
        EXPECT_EQ(files_left(), 3u);
        for (const char* n : {"t.dbf", "a.ntx", "b.ntx"}) EXPECT_TRUE(ws.in_use(path(n))) << n;
        EXPECT_FALSE(ws.in_use(path("c.ntx")));
        // A second table or index cannot take a name in use.
        EXPECT_FALSE(ws.create(path("t.dbf"), tables::procesos()));
        EXPECT_FALSE(prod->add_index(path("t.dbf"), tables::kProductosKeyCode));
        TempTable other(ws);
        ASSERT_TRUE(other.open(path("u.dbf"), tables::procesos(), tables::kProcesosAlias));
        EXPECT_FALSE(other.index(path("a.ntx"), tables::kProcesosKey));
        EXPECT_FALSE(ws.erase(path("t.dbf")));  // open: stays
    }
    EXPECT_EQ(files_left(), 0u);
    EXPECT_FALSE(ws.in_use(path("t.dbf")));
    EXPECT_EQ(ws.open_count(), 0u);
}

TEST_F(WorkTableTest, OpenFailsOnAMissingTableABusyTableOrATakenAlias) {
    EXPECT_EQ(ws.open(path("none.dbf"), "VALES"), nullptr);
    ASSERT_TRUE(ws.create(path("v.dbf"), tables::vales()));
    ASSERT_TRUE(ws.create(path("w.dbf"), tables::vales()));
    ASSERT_NE(ws.open(path("v.dbf"), "VALES"), nullptr);
    EXPECT_EQ(ws.open(path("v.dbf"), "OTRO"), nullptr);   // exclusive
    EXPECT_EQ(ws.open(path("w.dbf"), "vales"), nullptr);  // alias taken
    EXPECT_FALSE(ws.create("/proc/no/such/place.dbf", tables::vales()));
    TempTable t(ws);
    EXPECT_FALSE(t.open("/proc/no/such/place.dbf", tables::vales(), "X"));
    EXPECT_FALSE(t.index(path("x.ntx"), tables::kValesKey));
}

TEST_F(WorkTableTest, BackslashFoldersAreSlashes) {
    EXPECT_EQ(native_path("temp\\03240025.dbf"), "temp/03240025.dbf");
    EXPECT_EQ(tables::catalogue_alias("temp\\03240025.dbf"), "X240025");
    EXPECT_EQ(tables::catalogue_alias("a.dbf"), "Xa.dbf");
}

TEST_F(WorkTableTest, AHelpListRunsInAFurtherAreaAndTheFormsAreaComesBack) {
    TempTable vales(ws);
    ASSERT_TRUE(vales.open(path("v.dbf"), tables::vales(), tables::kValesAlias));
    int remembered = ws.current_area();
    {
        WorkTable& help = operators({"a"});
        EXPECT_NE(help.area(), remembered);
        EXPECT_EQ(ws.current(), &help);
        oper.close_and_erase();
    }
    ws.select(remembered);
    EXPECT_EQ(ws.current(), vales.table());
    EXPECT_EQ(ws.area("operario"), nullptr);
}

TEST_F(WorkTableTest, RandomEditsKeepEveryOrderSorted) {
    TempTable prod(ws);
    ASSERT_TRUE(prod.open(path("p.dbf"), tables::productos(), tables::kProductosAlias));
    ASSERT_TRUE(prod.index(path("1.ntx"), tables::kProductosKeyCode));
    ASSERT_TRUE(prod.index(path("2.ntx"), tables::kProductosKeyName));
    std::mt19937 rng(7);
    auto word = [&] {
        std::string s;
        for (int i = 0; i < 3; ++i) s += static_cast<char>('a' + rng() % 4);
        return s;
    };
    for (int i = 0; i < 3000; ++i) {
        switch (rng() % 6) {
            case 0:
                prod->append();  // left blank
                break;
            case 1:
                prod->append();
                [[fallthrough]];
            case 2:
                prod->set_text("CODIGO", word());
                prod->set_text("DESCRIP", word());
                break;
            case 3:
                prod->set_order(static_cast<int>(rng() % 3));
                prod->skip(static_cast<int>(rng() % 7) - 3);
                break;
            case 4:
                prod->mark_deleted();
                prod->skip(1);
                break;
            case 5:
                if (rng() % 50 == 0)
                    prod->zap();
                else
                    prod->go_to(1 + rng() % (prod->rec_count() + 1));
                break;
        }
    }
    for (int order : {1, 2}) {
        prod->set_order(order);
        auto key = KeyExpression::compile(prod->order_key(order), prod->structure());
        std::vector<std::string> keys;
        std::size_t visible = 0;
        for (prod->go_top(); !prod->eof(); prod->skip()) {
            keys.push_back(key->evaluate({prod->value(0), prod->value(1), prod->value(2),
                                          prod->value(3), prod->value(4), prod->value(5)}));
            ++visible;
        }
        EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
        std::size_t expected = 0;
        prod->set_order(0);
        for (prod->go_top(); !prod->eof(); prod->skip()) ++expected;
        EXPECT_EQ(visible, expected);
    }
}

}  // namespace
}  // namespace rt::wt
