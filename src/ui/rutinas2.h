#pragma once
// Screen helper routines shared by every operation: message line, message box,
// confirmation, boxes, title lines, separator lines, spinner, password entry, supervisor
// password, zero-padded numbers, temporary file names and text splitting.
// Texts are console texts (the caller converts a program or stored text with
// cp::ansi_to_oem). Colours are colour-setting texts.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/oem.h"

namespace ui {

// Message line: centred in `width`, groups in [brackets] in the bracket colour.
void MSG(cp::OemView text = {}, std::optional<int> row = {}, int col = 0, int width = 100,
         std::optional<std::string> colour = {}, std::optional<std::string> bracket_colour = {});
// Timed message box (3 s or a key pressed while it shows; keys typed ahead stay queued
// for what comes next); always false.
bool MSGBOX(cp::OemView text);
// Yes/no question that only S/s/N/n answer.
bool CONFIRMA(cp::OemView question = {}, bool show_second_line = false);
void BOX(int top, int left, int bottom, int right, std::string_view colour = {});
void PANTALLA(cp::OemView company = {}, cp::OemView program = {}, cp::OemView user = {},
              bool clear = true);
void DISPLINEA(int row, int left, int right, std::string_view colour = {});
bool MOLINO(int row = 24, int col = 79, std::string_view colour = {}, double interval = 0.01);
// Masked password entry; empty text for Esc. Row/column default to the cursor.
cp::Oem GETPASS(std::optional<int> row = {}, std::optional<int> col = {}, int min_len = 4,
                int max_len = 10, std::string_view colour = {}, bool show_cursor = false);
// Asks for the supervisor's password; `correcta` judges the text typed.
bool PASSROOT(const std::function<bool(const std::string&)>& correcta);
std::string STRZERO(double n, std::optional<int> width = {}, int decimals = 0);
std::string NOMARCH(std::string_view extension = {}, std::string_view folder = {});
std::string NOMARCH2(std::string_view extension = {}, std::string_view folder = {});
std::vector<std::string> CTOARR(std::string_view text, char separator = ' ');

}  // namespace ui
