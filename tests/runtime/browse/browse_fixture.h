#pragma once
// A browser over a small voucher-like work table on the virtual terminal.
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/browse/browser.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "runtime/worktables/temp_table.h"
#include "runtime/worktables/workspace.h"
#include "support/screen_test.h"

namespace browse_test {

class BrowseTest : public testing_support::ScreenTest {
  protected:
    // Data rows 3-22 (20 of them): heading on row 1, separator on row 2.
    static constexpr int kTop = 1, kLeft = 1, kBottom = 22, kRight = 60;

    BrowseTest() {
        folder_ =
            std::filesystem::temp_directory_path() / ("vales_browse_" + std::to_string(::getpid()));
        EXPECT_TRUE(table_.open((folder_ / "t.dbf").string(),
                                {{"N_INTERNO", rt::wt::FieldType::kNumeric, 10, 0},
                                 {"DETALLE", rt::wt::FieldType::kCharacter, 20, 0}},
                                "VALES"));
        EXPECT_TRUE(table_.index((folder_ / "t.ntx").string(), "Str(N_INTERNO,10)"));
    }
    ~BrowseTest() override {
        table_.close_and_erase();
        std::filesystem::remove_all(folder_);
    }

    rt::wt::WorkTable& table() { return *table_; }

    void add(int number) {
        table_->append();
        table_->set_number("N_INTERNO", number);
        table_->set_text("DETALLE", "Vale " + std::to_string(number));
    }
    void fill(int count) {
        for (int i = 1; i <= count; ++i) add(i);
    }

    std::unique_ptr<rt::Browser> make_browser() {
        auto b = std::make_unique<rt::Browser>(*table_, kTop, kLeft, kBottom, kRight);
        b->add_column("N°      Detalle"_oem, [this] {
            return cp::Oem(rt::wt::str_number(table_->number("N_INTERNO"), 6, 0) + "  " +
                           table_->text("DETALLE"));
        });
        b->set_colour("w/b,+w/r");
        b->set_heading_separator("─┬─"_oem);
        b->set_column_separator(" │ "_oem);
        b->go_top();
        b->force_stable();
        return b;
    }

    // Screen row of data row r.
    static int screen_row(int r) { return kTop + 1 + r; }
    // The voucher number shown on data row r, or 0 when the row is blank.
    int shown_number(int r) const {
        std::string t = row_text(screen_row(r), kLeft, 6);
        return t.find_first_not_of(' ') == std::string::npos ? 0 : std::stoi(t);
    }
    int current_number() { return static_cast<int>(table_->number("N_INTERNO")); }

    rt::wt::Workspace ws;
    rt::wt::TempTable table_{ws};
    std::filesystem::path folder_;
};

}  // namespace browse_test
