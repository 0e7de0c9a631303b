#include "runtime/worktables/field.h"

#include <cmath>

namespace rt::wt {

Value blank_value(const Field& field) {
    switch (field.type) {
        case FieldType::kCharacter:
            return std::string(static_cast<std::size_t>(field.width), ' ');
        case FieldType::kNumeric:
            return 0.0;
        case FieldType::kLogical:
            return false;
        case FieldType::kDate:
            return Fecha{};
    }
    return std::string{};
}

std::string fit_text(std::string_view text, int width) {
    std::string out(text.substr(0, static_cast<std::size_t>(width)));
    out.resize(static_cast<std::size_t>(width), ' ');
    return out;
}

double fit_number(double value, int decimals) {
    if (!std::isfinite(value)) return 0.0;
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded;  // no negative zero
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        if (up(a[i]) != up(b[i])) return false;
    }
    return true;
}

int field_position(const Structure& structure, std::string_view name) {
    for (std::size_t i = 0; i < structure.size(); ++i)
        if (same_name(structure[i].name, name)) return static_cast<int>(i);
    return -1;
}

}  // namespace rt::wt
