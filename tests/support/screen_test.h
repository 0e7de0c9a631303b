#pragma once
// A virtual terminal for each test: keys from a script, a virtual clock, and assertions on
// the whole screen the user would see:
//
//   EXPECT_EQ(shown_screen(), picture(R"(
//   Refractarios Velmo Ltda.                                                         06/12/2026
//   ...
//   )"));
//   EXPECT_EQ(shown_colours({{"W/B", '.'}, {"+W/G", 'h'}}, 3, 0, 17, 41), picture(R"(...)"));
//
// One assertion shows the whole picture, and a failure shows the difference line by line.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

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

    // The whole screen as a picture (36 lines, each without its trailing blanks): the live
    // grid, or the snapshot taken at a key wait (0 the last one, 1 the one before ...).
    std::string screen_text() const;
    std::string shown_screen(std::size_t snapshot_from_end = 0) const;
    // The colours of a region as a picture: one character a cell, from `legend` (colour
    // slot text -> character), '?' for a colour the legend lacks.
    std::string shown_colours(const std::map<std::string, char>& legend, int top = 0, int left = 0,
                              int bottom = rt::kRows - 1, int right = rt::kCols - 1,
                              std::size_t snapshot_from_end = 0) const;
    // The rows `top` to `bottom` of a list at a key wait, columns `left` to
    // `left + width - 1`, each without its trailing blanks; empty rows are left out. With
    // `highlight` (a colour such as "+W/R"), a row whose first cell has it begins with ">".
    std::vector<std::string> shown_list(int top, int bottom, int left, int width,
                                        std::size_t snapshot_from_end = 0,
                                        std::string_view highlight = {}) const;

    // The keys the program put into the keyboard buffer that nothing has read (a choice
    // typed back by a list), taken out of it.
    std::vector<int> typed_keys();

  private:
    rt::Console* previous_;
};

// An expected picture written as a raw string literal: the line break after R"( is dropped,
// each line loses its trailing blanks and a text picture is completed to `rows` lines.
std::string picture(std::string_view text, int rows = rt::kRows);
std::string grid_picture(const rt::Grid& grid);
std::string colour_picture(const rt::Grid& grid, const std::map<std::string, char>& legend, int top,
                           int left, int bottom, int right);

// "W/B" for an attribute, so expectations read like colour settings.
std::string attr_text(rt::Attr a);
std::string grid_row_text(const rt::Grid& grid, int row, int col = 0, int width = rt::kCols);

}  // namespace testing_support
