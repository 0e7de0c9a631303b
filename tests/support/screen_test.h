#pragma once
// A virtual terminal for each test: keys from a script, a virtual clock, and assertions on
// the whole rows the user would see.
#include <gtest/gtest.h>

#include <string>

#include "runtime/screen/console.h"
#include "runtime/screen/virtual_backend.h"
#include "support/oem_compare.h"

namespace testing_support {

class ScreenTest : public ::testing::Test {
  protected:
    ScreenTest();
    ~ScreenTest() override;

    rt::VirtualBackend term;
    rt::Console console{term};

    // What the screen holds now (the grid as the program left it), as UTF-8 text.
    std::string row_text(int row) const;
    std::string row_text(int row, int col, int width) const;
    // The colour slot text of a cell ("+W/R"), of the live grid.
    std::string colour_at(int row, int col) const;
    // Text / colour of the last snapshot taken at a key wait.
    std::string shown_row(int row, std::size_t snapshot_from_end = 0) const;
    // The whole screen as 36 UTF-8 lines, for failure messages.
    std::string screen_dump() const;

  private:
    rt::Console* previous_;
};

// "W/B" for an attribute, so expectations read like colour settings.
std::string attr_text(rt::Attr a);
std::string grid_row_text(const rt::Grid& grid, int row, int col = 0, int width = rt::kCols);

}  // namespace testing_support
