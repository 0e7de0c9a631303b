// Random keys on browsers over a work table that the "operation" keeps changing: the
// browser must never crash, and whenever the operation has asked for a refresh, the rows
// shown must be a run of the visible records in key order with the table's current record
// highlighted.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "runtime/browse/browse_loop.h"
#include "runtime/browse/browser.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"
#include "runtime/worktables/temp_table.h"
#include "support/screen_test.h"

namespace rt {
namespace {

class BrowserFuzz : public testing_support::ScreenTest {
  protected:
    BrowserFuzz() {
        folder_ =
            std::filesystem::temp_directory_path() / ("vales_fuzz_" + std::to_string(::getpid()));
        EXPECT_TRUE(t_.open(
            (folder_ / "f.dbf").string(),
            {{"ID", wt::FieldType::kNumeric, 6, 0}, {"NOMBRE", wt::FieldType::kCharacter, 8, 0}},
            "FUZZ"));
        EXPECT_TRUE(t_.index((folder_ / "1.ntx").string(), "Upper(NOMBRE)"));
        EXPECT_TRUE(t_.index((folder_ / "2.ntx").string(), "Str(ID,6)"));
    }
    ~BrowserFuzz() override {
        t_.close_and_erase();
        std::filesystem::remove_all(folder_);
    }

    // The ids of the visible records in the controlling order.
    std::vector<int> visible() {
        std::vector<int> ids;
        const std::size_t at = t_->recno();
        for (t_->go_top(); !t_->eof(); t_->skip())
            ids.push_back(static_cast<int>(t_->number("ID")));
        t_->go_to(at);
        return ids;
    }

    void check(const Browser& b, int top, int left, std::uint64_t step) {
        const std::vector<int> ids = visible();
        std::vector<int> shown;
        for (int r = 1; r <= b.data_rows(); ++r) {
            std::string cell = row_text(top + 1 + r, left, 6);
            if (cell.find_first_not_of(' ') == std::string::npos) break;
            shown.push_back(std::stoi(cell));
        }
        // Blank rows only below the shown run.
        for (int r = static_cast<int>(shown.size()) + 1; r <= b.data_rows(); ++r)
            ASSERT_EQ(row_text(top + 1 + r, left, 6), "      ") << "step " << step;
        if (ids.empty()) {
            ASSERT_TRUE(shown.empty()) << "step " << step;
            return;
        }
        ASSERT_FALSE(shown.empty()) << "step " << step;
        auto first = std::find(ids.begin(), ids.end(), shown.front());
        ASSERT_NE(first, ids.end()) << "step " << step;
        const auto offset = static_cast<std::size_t>(first - ids.begin());
        ASSERT_LE(offset + shown.size(), ids.size()) << "step " << step;
        for (std::size_t i = 0; i < shown.size(); ++i)
            ASSERT_EQ(shown[i], ids[offset + i]) << "step " << step << " row " << i + 1;
        // The window is full unless the table ends inside it.
        ASSERT_TRUE(static_cast<int>(shown.size()) == b.data_rows() ||
                    offset + shown.size() == ids.size())
            << "step " << step;
        ASSERT_LE(b.row_pos(), static_cast<int>(shown.size())) << "step " << step;
        ASSERT_EQ(shown[static_cast<std::size_t>(b.row_pos() - 1)],
                  static_cast<int>(t_->number("ID")))
            << "step " << step;
        for (int r = 1; r <= static_cast<int>(shown.size()); ++r)
            ASSERT_EQ(console.cell(top + 1 + r, left).attr,
                      r == b.row_pos() ? make_attr(15, 4) : make_attr(7, 3))
                << "step " << step << " row " << r;
        ++checks_;
    }

    int checks_ = 0;
    wt::Workspace ws;
    wt::TempTable t_{ws};
    std::filesystem::path folder_;
};

TEST_F(BrowserFuzz, RandomKeysOverAChangingTable) {
    std::mt19937 rng(20261207);
    const int moves[] = {key::kUp,
                         key::kDown,
                         key::kPgUp,
                         key::kPgDn,
                         key::kCtrlPgUp,
                         key::kCtrlPgDn,
                         key::kLeft,
                         key::kRight,
                         254,
                         key::kEnter,
                         'a',
                         key::kF8};
    struct Window {
        int top, left, bottom, right;
    } windows[] = {{5, 28, 25, 97}, {3, 1, 11, 40}, {10, 10, 12, 30}, {0, 0, 1, 99}};
    int next_id = 1;
    std::uint64_t keys = 0;
    for (const Window& w : windows) {
        Browser b(*t_, w.top, w.left, w.bottom, w.right);
        b.add_column("Id     Nombre", [this] {
            return cp::Oem(wt::str_number(t_->number("ID"), 6, 0) + " " + t_->text("NOMBRE"));
        });
        b.set_colour("w/bg,+w/r");
        b.set_heading_separator("─┬─"_oem);
        b.go_top();
        bool consistent = true;
        for (int i = 0; i < 30000; ++i, ++keys) {
            const unsigned dice = rng() % 100;
            if (dice < 70) {
                const int k = moves[rng() % std::size(moves)];
                browse_one_key(b, k, [](int) { return BrowseKey::kShared; });
                if (k == key::kCtrlPgUp || k == key::kCtrlPgDn || k == 254) consistent = true;
            } else {
                // The operation changes the table, and usually asks for a refresh.
                switch (rng() % 8) {
                    case 0:
                    case 1:
                        if (t_->rec_count() > 400) {
                            t_->zap();
                            break;
                        }
                        t_->append();
                        t_->set_number("ID", next_id++);
                        [[fallthrough]];
                    case 2: {
                        std::string name;
                        for (int c = 0; c < 3; ++c) name += static_cast<char>('a' + rng() % 6);
                        t_->set_text("NOMBRE", name);
                        break;
                    }
                    case 3:
                    case 4:
                        t_->mark_deleted();
                        break;
                    case 5:
                        t_->set_order(1 + static_cast<int>(rng() % 2));
                        break;
                    case 6:
                        t_->go_to(1 + rng() % (t_->rec_count() + 2));
                        break;
                    case 7:
                        if (rng() % 20 == 0) t_->zap();
                        break;
                }
                if (rng() % 10 != 0) {
                    b.refresh_all();
                    consistent = true;
                } else {
                    consistent = false;
                }
            }
            b.force_stable();
            if (consistent && b.data_rows() > 0 && i % 7 == 0) {
                ASSERT_NO_FATAL_FAILURE(check(b, w.top, w.left, keys));
            }
        }
    }
    EXPECT_GE(keys, 100000u);
    EXPECT_GT(checks_, 10000);
}

}  // namespace
}  // namespace rt
