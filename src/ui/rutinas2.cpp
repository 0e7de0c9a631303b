#include "ui/rutinas2.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/alert.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"

namespace ui {
namespace {

constexpr int kLastRow = rt::kRows - 1;
}  // namespace

void MSG(cp::OemView text, std::optional<int> row, int col, int width,
         std::optional<std::string> colour, std::optional<std::string> bracket_colour) {
    rt::Console& c = rt::con();
    const int saved_row = c.row(), saved_col = c.col();
    if (colour && colour->empty()) colour.reset();
    std::string bracket = bracket_colour ? *bracket_colour
                          : colour       ? "+" + *colour
                                         : std::string("+GR/R");
    const std::string normal = colour.value_or("w/b");
    const cp::Oem given = text.empty() ? cp::Oem(100, ' ') : cp::Oem(text);
    const std::string shown = given.centred(static_cast<std::size_t>(std::max(width, 0))).str();
    const rt::Attr normal_attr = c.colour().with(normal).standard();
    const rt::Attr bracket_attr = c.colour().with(bracket).standard();
    const int r = row.value_or(kLastRow);
    rt::Attr attr = normal_attr;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '[') attr = bracket_attr;
        c.put_cell(r, col + static_cast<int>(i), static_cast<std::uint8_t>(shown[i]), attr);
        if (shown[i] == ']') attr = normal_attr;
    }
    c.set_pos(saved_row, saved_col);
}

bool MSGBOX(cp::OemView text) {
    rt::notice(text, 3);
    return false;
}

bool CONFIRMA(cp::OemView question, bool show_second_line) {
    rt::Console& c = rt::con();
    Resguardo resguardo;
    c.set_cursor_shape(0);
    cp::Oem q = cp::Oem(question).trimmed();
    if (q.empty()) q = "¿ Confirma ?"_oem;
    const cp::Oem shown = q.substr(0, rt::kCols - 2);
    const int len = static_cast<int>(shown.size());
    const int col = (99 - len) / 2;
    const int answers_col = col + len / 2 - 4;
    c.fill_box(10, col - 1, 15, col + len + 1, rt::kSingleFrameFilled, "+W/R");
    c.write_at(11, col, shown, "+gr/r");
    if (show_second_line) c.write_at(12, col + len / 2 - 6, "¿ Confirma ?"_oem, "+W/R");
    const cp::OemView answers[2][2] = {{"S", " ] SI"}, {"N", " ] NO"}};
    for (int i = 0; i < 2; ++i) {
        c.write_at(13 + i, answers_col, "[ ", "W/R");
        c.write(answers[i][0], "+W/R");
        c.write(answers[i][1], "W/R");
    }
    c.tone(500, 2);
    int key = 0;
    while (key != 'S' && key != 's' && key != 'N' && key != 'n') key = c.inkey(0);
    return key == 'S' || key == 's';
}

void BOX(int top, int left, int bottom, int right, std::string_view colour) {
    rt::Console& c = rt::con();
    c.fill_box(top, left, bottom, right, rt::kSingleFrameFilled, colour);
    c.set_pos(top, left);
}

void PANTALLA(cp::OemView company, cp::OemView program, cp::OemView user, bool clear) {
    rt::Console& c = rt::con();
    auto or_default = [](cp::OemView v, cp::OemView d) {
        return cp::Oem(cp::Oem(v).trimmed().empty() ? d : v);
    };
    if (clear) c.fill_box(0, 0, kLastRow, rt::kCols - 1, "         ", "b/b");
    c.fill_box(0, 0, 1, rt::kCols - 1, "         ", "15/5");
    c.write_at(0, 0, or_default(company, "Nombre Empresa..."), "15/5");
    c.write_at(1, 0, or_default(program, "Nombre Programa..."), "15/5");
    const rt::LocalTime now = c.now();
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", now.day % 100, now.month % 100,
                  now.year % 10000);
    c.write_at(0, 90, cp::OemView::cp850(date), "15/5");
    const cp::Oem who = or_default(user, "Nombre Usuario...");
    c.write_at(1, std::max(0, rt::kCols - static_cast<int>(who.size())), who, "15/5");
}

void DISPLINEA(int row, int left, int right, std::string_view colour) {
    rt::Console& c = rt::con();
    std::string line = "\xC3";  // ├
    line += std::string(std::max(0, right - left - 1), '\xC4');
    line += "\xB4";  // ┤
    c.write_at(row, left, cp::OemView::cp850(line), colour);
    c.set_pos(row, right);
}

namespace {

// The spinner's phase and the time of its last step, kept for the whole run.
struct Spinner {
    int phase = 1;
    std::optional<double> last_step;
};
Spinner g_spinner;

}  // namespace

bool MOLINO(int row, int col, std::string_view colour, double interval) {
    rt::Console& c = rt::con();
    const int saved_row = c.row(), saved_col = c.col();
    const double now = c.now().seconds_since_midnight();
    // Seconds since midnight start again at 0 after midnight: without this the spinner
    // would stand still until the next midnight.
    if (!g_spinner.last_step || now < *g_spinner.last_step) g_spinner.last_step = now;
    if (now >= *g_spinner.last_step + interval) {
        g_spinner.last_step = now;
        static const char phases[] = {'|', '/', '\xC4', '\\'};
        c.write_at(row, col, cp::OemView::cp850({&phases[g_spinner.phase - 1], 1}), colour);
        g_spinner.phase = g_spinner.phase % 4 + 1;
        c.set_pos(saved_row, saved_col);
        c.flush();
    }
    return true;
}

namespace {

bool password_character(int key) {
    return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ||
           key == 0xA4 || key == 0xA5;  // ñ Ñ in CP850
}

}  // namespace

cp::Oem GETPASS(std::optional<int> row, std::optional<int> col, int min_len, int max_len,
                std::string_view colour, bool show_cursor) {
    rt::Console& c = rt::con();
    const int saved_row = c.row(), saved_col = c.col();
    const int r = row.value_or(saved_row), k = col.value_or(saved_col);
    if (min_len <= 0) min_len = 4;
    if (max_len <= 0) max_len = 10;
    const int old_shape = c.set_cursor_shape(show_cursor ? 3 : 0);
    std::string text;
    auto show = [&] {
        c.write_at(r, k, cp::Oem(static_cast<std::size_t>(max_len), ' '), colour);
        c.write_at(r, k, cp::Oem(text.size(), '*'), colour);
    };
    show();
    c.set_pos(r, k);
    for (;;) {
        const int key = c.inkey_text();
        if (key == rt::key::kEsc) {
            text.clear();
            break;
        }
        if (key == rt::key::kEnter && static_cast<int>(text.size()) >= min_len) break;
        if (key == rt::key::kEnter && !text.empty()) {
            MSGBOX("ERROR: Mínimo "_oem + cp::Oem(std::to_string(min_len)) + " caracteres");
        } else if (key == rt::key::kDel) {
            text.clear();
        } else if (key == rt::key::kBackspace && !text.empty()) {
            text.pop_back();
        } else if (password_character(key) && static_cast<int>(text.size()) < max_len) {
            text += static_cast<char>(key);
        } else {
            c.tone(300, 1);
        }
        show();
    }
    c.set_pos(saved_row, saved_col);
    c.set_cursor_shape(old_shape);
    return cp::Oem(std::move(text));
}

bool PASSROOT(const std::function<bool(const std::string&)>& correcta) {
    rt::Console& c = rt::con();
    const rt::SavedRegion saved = c.save_region(15, 50, 19, 79);
    c.fill_box(15, 50, 19, 79, rt::kSingleFrameFilled, "n/w");
    c.write_at(17, 51, "Ingrese password:", "n/w");
    const cp::Oem typed = GETPASS(17, 68, 4, 10, "+w/w", true);
    c.restore_region(saved);
    return !typed.empty() && correcta(cp::oem_to_ansi(typed));
}

std::string STRZERO(double n, std::optional<int> width, int decimals) {
    const int w = width.value_or(10);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*f", w, std::max(0, decimals), n);
    std::string text = buffer;
    if (static_cast<int>(text.size()) > w) return std::string(std::max(0, w), '*');
    const std::size_t blanks = text.find_first_not_of(' ');
    const std::size_t minus = text.find('-');
    if (minus != std::string::npos) {
        return std::string(1, '-') + std::string(blanks, '0') + text.substr(minus + 1);
    }
    return std::string(blanks, '0') + text.substr(blanks);
}

namespace {

// Builds names from the clock until one does not exist; the clock moves on between tries.
template <typename NamePart>
std::string free_name(std::string_view extension, std::string_view folder, NamePart name_part) {
    std::string dir(folder);
    for (std::size_t at; (at = dir.find("\\\\")) != std::string::npos;) dir.erase(at, 1);
    const std::string ext = extension.empty() ? "" : std::string(".").append(extension);
    rt::Console& c = rt::con();
    for (;;) {
        std::string name = dir + name_part(c.now()) + ext;
        std::error_code ec;
        if (!std::filesystem::exists(name, ec)) return name;
        c.sleep(0.01);
    }
}

}  // namespace

std::string NOMARCH(std::string_view extension, std::string_view folder) {
    return free_name(extension, folder, [](const rt::LocalTime& t) {
        char part[16];
        std::snprintf(part, sizeof part, "%d%02d%02d%02d", t.day % 100, t.hour % 100,
                      t.minute % 100, t.second % 100);
        return std::string(part);
    });
}

std::string NOMARCH2(std::string_view extension, std::string_view folder) {
    return free_name(extension, folder, [](const rt::LocalTime& t) {
        return STRZERO(std::round(t.seconds_since_midnight() * 100.0), 8);
    });
}

std::vector<std::string> CTOARR(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::string piece;
    auto add = [&] {
        if (!rt::trim(piece).empty()) pieces.push_back(piece);
        piece.clear();
    };
    for (char ch : rt::trim(text)) {
        if (ch == separator) {
            add();
        } else {
            piece += ch;
        }
    }
    add();
    return pieces;
}

}  // namespace ui
