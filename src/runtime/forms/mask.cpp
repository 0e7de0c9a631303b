#include "runtime/forms/mask.h"

#include <array>
#include <cmath>

#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"

namespace rt {
namespace {

// Case tables of the screen code page, built once from the Unicode values of its bytes:
// the Latin-1 small letters à-þ are their capitals plus 0x20.
struct OemCase {
    std::array<unsigned char, 256> upper{};
    std::array<bool, 256> letter{};
    OemCase() {
        for (int b = 0; b < 256; ++b) {
            upper[b] = static_cast<unsigned char>(b);
            char32_t u = cp::oem_to_unicode(static_cast<unsigned char>(b));
            bool ascii_lower = u >= U'a' && u <= U'z';
            bool ascii_upper = u >= U'A' && u <= U'Z';
            bool latin_lower = u >= 0xE0 && u <= 0xFE && u != 0xF7;
            bool latin_upper = u >= 0xC0 && u <= 0xDE && u != 0xD7;
            letter[b] = ascii_lower || ascii_upper || latin_lower || latin_upper || u == 0xFF;
            if (ascii_lower) upper[b] = static_cast<unsigned char>(b - 0x20);
            if (latin_lower) {
                int capital = cp::unicode_to_oem(u - 0x20);
                if (capital >= 0) upper[b] = static_cast<unsigned char>(capital);
            }
        }
    }
};

const OemCase& oem_case() {
    static const OemCase table;
    return table;
}

bool is_digit(int code) {
    return code >= '0' && code <= '9';
}

unsigned char oem_upper(unsigned char ch) {
    return oem_case().upper[ch];
}

std::string_view trim_right(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool MaskSpec::has(char function) const {
    return functions.find(function) != std::string::npos;
}

MaskSpec parse_mask(std::string_view mask) {
    MaskSpec spec;
    if (!mask.empty() && mask.front() == '@') {
        std::size_t blank = mask.find(' ');
        std::string_view letters =
            mask.substr(1, blank == std::string_view::npos ? mask.size() - 1 : blank - 1);
        for (char c : letters)
            spec.functions += static_cast<char>(oem_upper(static_cast<unsigned char>(c)));
        if (blank != std::string_view::npos) spec.layout = std::string(mask.substr(blank + 1));
    } else {
        spec.layout = std::string(mask);
    }
    return spec;
}

Picture::Picture(std::string_view mask, const Value& sample) : type_(type_of(sample)) {
    MaskSpec spec = parse_mask(mask);
    upper_all_ = spec.has('!');
    exchange_ = spec.has('E');
    switch (type_) {
        case ValueType::kText:
            lay_out_text(spec, static_cast<int>(std::get<std::string>(sample).size()));
            break;
        case ValueType::kNumber: {
            double d = std::get<double>(sample);
            lay_out_number(spec, !std::isfinite(d) || d == std::trunc(d));
            break;
        }
        case ValueType::kDate:
            lay_out_date();
            break;
        case ValueType::kLogical:
            slots_ = {Slot::kLogical};
            fixed_.assign(1, ' ');
            break;
    }
}

void Picture::lay_out_text(const MaskSpec& spec, int text_width) {
    if (spec.layout.empty()) {
        slots_.assign(text_width, upper_all_ ? Slot::kUpper : Slot::kAny);
        fixed_.assign(text_width, ' ');
        return;
    }
    for (char c : spec.layout) {
        Slot s = Slot::kFixed;
        switch (c) {
            case '9':
                s = Slot::kDigit;
                break;
            case '#':
                s = Slot::kSignDigit;
                break;
            case '!':
                s = Slot::kUpper;
                break;
            case 'X':
            case 'x':
                s = upper_all_ ? Slot::kUpper : Slot::kAny;
                break;
            case 'A':
            case 'a':
                s = Slot::kLetter;
                break;
            case 'N':
            case 'n':
                s = Slot::kLetterDigit;
                break;
            default:
                break;
        }
        slots_.push_back(s);
        fixed_ += s == Slot::kFixed ? c : ' ';
    }
}

void Picture::lay_out_number(const MaskSpec& spec, bool whole) {
    std::string layout = spec.layout;
    if (layout.empty()) layout = whole ? "9999999999" : "9999999.99";
    bool after_mark = false;
    for (char c : layout) {
        Slot s = Slot::kFixed;
        char shown = c;
        if (c == '9' || c == '#') {
            s = Slot::kSignDigit;
            shown = ' ';
            if (after_mark && first_decimal_ < 0) first_decimal_ = width();
        } else if (c == '.' && !after_mark) {
            s = Slot::kDecimal;
            shown = exchange_ ? ',' : '.';
            after_mark = true;
        } else if (c == ',' && !after_mark) {
            s = Slot::kGroup;
            shown = exchange_ ? '.' : ',';
        }
        slots_.push_back(s);
        fixed_ += shown;
    }
}

void Picture::lay_out_date() {
    for (char c : std::string_view("99/99/9999")) {
        slots_.push_back(c == '9' ? Slot::kDigit : Slot::kFixed);
        fixed_ += c == '9' ? ' ' : c;
    }
}

bool Picture::editable(int pos) const {
    if (pos < 0 || pos >= width()) return false;
    Slot s = slots_[pos];
    return s != Slot::kFixed && s != Slot::kGroup && s != Slot::kDecimal;
}

int Picture::first_editable() const {
    return next_editable(-1);
}

int Picture::last_editable() const {
    return prev_editable(width());
}

int Picture::next_editable(int pos) const {
    for (int p = pos + 1; p < width(); ++p)
        if (editable(p)) return p;
    return width();
}

int Picture::prev_editable(int pos) const {
    for (int p = std::min(pos, width()) - 1; p >= 0; --p)
        if (editable(p)) return p;
    return -1;
}

std::optional<char> Picture::accept(int pos, int code) const {
    if (!editable(pos) || !key::is_printable(code)) return std::nullopt;
    auto ch = static_cast<unsigned char>(code);
    auto as_char = [](unsigned char c) { return static_cast<char>(c); };
    const OemCase& cs = oem_case();
    switch (slots_[pos]) {
        case Slot::kAny:
            return as_char(ch);
        case Slot::kUpper:
            return as_char(cs.upper[ch]);
        case Slot::kDigit:
            if (is_digit(ch)) return as_char(ch);
            return std::nullopt;
        case Slot::kSignDigit:
            if (is_digit(ch) || ch == '+' || ch == '-') return as_char(ch);
            return std::nullopt;
        case Slot::kLetter:
            if (cs.letter[ch]) return as_char(upper_all_ ? cs.upper[ch] : ch);
            return std::nullopt;
        case Slot::kLetterDigit:
            if (cs.letter[ch] || is_digit(ch)) return as_char(upper_all_ ? cs.upper[ch] : ch);
            return std::nullopt;
        case Slot::kLogical:
            switch (cs.upper[ch]) {
                case 'S':
                case 'T':
                case 'Y':
                    return 'S';
                case 'N':
                case 'F':
                    return 'N';
                default:
                    return std::nullopt;
            }
        default:
            return std::nullopt;
    }
}

std::string Picture::format(const Value& v) const {
    switch (type_) {
        case ValueType::kText: {
            const std::string* s = std::get_if<std::string>(&v);
            std::string out = fixed_;
            for (int i = 0; i < width(); ++i) {
                if (!editable(i)) continue;
                unsigned char c = s && i < static_cast<int>(s->size()) ? (*s)[i] : ' ';
                bool upper = slots_[i] == Slot::kUpper || upper_all_;
                out[i] = static_cast<char>(upper ? oem_upper(c) : c);
            }
            return out;
        }
        case ValueType::kNumber: {
            const double* d = std::get_if<double>(&v);
            return format_number(d ? *d : 0.0);
        }
        case ValueType::kDate: {
            const Fecha* f = std::get_if<Fecha>(&v);
            return f ? f->text() : Fecha().text();
        }
        case ValueType::kLogical: {
            const bool* b = std::get_if<bool>(&v);
            return b && *b ? "S" : "N";
        }
    }
    return fixed_;
}

std::optional<Value> Picture::read(std::string_view buffer, int epoch) const {
    switch (type_) {
        case ValueType::kText:
            return Value(std::string(buffer));
        case ValueType::kNumber:
            return Value(read_number(buffer));
        case ValueType::kDate: {
            std::optional<Fecha> f = Fecha::parse(trim_right(buffer), epoch);
            if (!f) return std::nullopt;
            return Value(*f);
        }
        case ValueType::kLogical:
            return Value(!buffer.empty() && buffer.front() == 'S');
    }
    return std::nullopt;
}

cp::Oem format_with_mask(const Value& value, std::string_view mask) {
    return cp::Oem(Picture(mask, value).format(value));
}

}  // namespace rt
