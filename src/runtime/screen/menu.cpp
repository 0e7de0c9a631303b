// Menus of prompts: texts placed on the screen, one of them highlighted, chosen by moving
// the highlight, by Enter or by the first letter of a prompt.
#include <algorithm>
#include <cctype>

#include "runtime/screen/console.h"

namespace rt {
namespace {

int upper(int code) {
    return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

}  // namespace

void Console::prompt(int row, int col, cp::OemView text, std::string_view colour_pair) {
    Prompt p{row, col, std::string(text.view()), colour_.standard(), colour_.enhanced()};
    if (!colour_pair.empty()) {
        std::size_t comma = colour_pair.find(',');
        p.normal = parse_colour_slot(colour_pair.substr(0, comma));
        if (comma != std::string_view::npos) {
            p.highlight = parse_colour_slot(colour_pair.substr(comma + 1));
        }
    }
    show_prompt(p, false);
    pending_prompts_.push_back(std::move(p));
}

void Console::show_prompt(const Prompt& p, bool highlighted) {
    Attr attr = highlighted ? p.highlight : p.normal;
    for (std::size_t i = 0; i < p.text.size(); ++i) {
        put_cell(p.row, p.col + static_cast<int>(i), static_cast<std::uint8_t>(p.text[i]), attr);
    }
    set_pos(p.row, p.col + static_cast<int>(p.text.size()));
}

int Console::menu_to(std::string_view var_name, std::string_view proc) {
    std::optional<int> temporary;  // a variable made for this run only: not a number yet
    IntVar var{[&] { return temporary; }, [&](int v) { temporary = v; }};
    return menu_to(var, var_name, proc);
}

int Console::menu_to(const IntVar& var, std::string_view var_name, std::string_view proc) {
    // The prompts belong to this run; a menu run from a key handler declares its own.
    std::vector<Prompt> prompts = std::move(pending_prompts_);
    pending_prompts_.clear();
    if (prompts.empty()) return 0;
    const int count = static_cast<int>(prompts.size());
    auto clamp_choice = [count](std::optional<int> v) {
        return std::clamp(v.value_or(1), 1, count);
    };
    int current = clamp_choice(var.get());
    std::string upper_name(var_name);
    for (char& ch : upper_name)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));

    int old_shape = set_cursor_shape(0);
    show_prompt(prompts[current - 1], true);
    int result = -1;
    while (result < 0) {
        int code = inkey(0);
        int next = current;
        if (key_handler(code)) {
            var.set(current);
            run_key_handler(code, proc, 0, upper_name);
            next = clamp_choice(var.get());
        } else if (code == key::kDown || code == key::kRight) {
            next = current < count ? current + 1 : (settings_.wrap ? 1 : current);
        } else if (code == key::kUp || code == key::kLeft) {
            next = current > 1 ? current - 1 : (settings_.wrap ? count : current);
        } else if (code == key::kHome) {
            next = 1;
        } else if (code == key::kEnd) {
            next = count;
        } else if (code == key::kEnter || code == key::kPgUp || code == key::kPgDn) {
            result = current;
        } else if (code == key::kEsc) {
            result = 0;
        } else if (code > 0 && code < 256) {
            for (int i = 0; i < count; ++i) {
                const std::string& text = prompts[i].text;
                std::size_t first = text.find_first_not_of(' ');
                if (first != std::string::npos &&
                    upper(static_cast<unsigned char>(text[first])) == upper(code)) {
                    next = i + 1;
                    result = next;
                    break;
                }
            }
        }
        if (next != current) {
            show_prompt(prompts[current - 1], false);
            show_prompt(prompts[next - 1], true);
            current = next;
        }
    }
    var.set(result);
    set_cursor_shape(old_shape);
    set_pos(kRows - 2, 0);
    return result;
}

}  // namespace rt
