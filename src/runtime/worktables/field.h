#pragma once
// The record structure of a work table: named fields of fixed type and width, and the
// values they hold.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/common/fecha.h"

namespace rt::wt {

enum class FieldType : char {
    kCharacter = 'C',  // fixed width, blank-padded
    kNumeric = 'N',    // fixed width and decimals
    kLogical = 'L',
    kDate = 'D',
};

struct Field {
    std::string name;  // upper case, as the operations write it (`N_INTERNO`)
    FieldType type = FieldType::kCharacter;
    int width = 1;
    int decimals = 0;
};

using Structure = std::vector<Field>;

// One stored value: text for C, number for N, logical for L, date for D.
using Value = std::variant<std::string, double, bool, Fecha>;

// The value of a field in a blank (just appended) record.
Value blank_value(const Field& field);

// Text as a character field stores it: cut or blank-padded to the width.
std::string fit_text(std::string_view text, int width);

// Number as a numeric field stores it: rounded to the field's decimals.
double fit_number(double value, int decimals);

// Case-insensitive comparison of field and alias names.
bool same_name(std::string_view a, std::string_view b);

// Position of a field in the structure, or -1.
int field_position(const Structure& structure, std::string_view name);

}  // namespace rt::wt
