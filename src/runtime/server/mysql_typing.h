#pragma once
// How a value sent by the server as text becomes a typed value, by its column's type code.
#include <string_view>
#include <vector>

#include "runtime/server/tmysql.h"

namespace rt {

// Client library type codes the program distinguishes.
namespace mysql_type {
inline constexpr int kTiny = 1, kShort = 2, kLong = 3, kFloat = 4, kDouble = 5, kLongLong = 8,
                     kInt24 = 9, kDate = 10, kDateTime = 12, kNewDecimal = 246, kBlob = 252,
                     kVarString = 253, kString = 254;
}

// The descriptions of a result's columns, in select-list order.
std::vector<MySQLField> mysql_fields_of(st_mysql_res* result);
// The typed value of `text` (empty text for NULL) in a column of type `type`.
MySQLValue convert_mysql_value(int type, std::string_view text);
// CHAR, VARCHAR and DATETIME: the character columns, padded when read.
bool is_character_column(int type);
// The value as FieldGet gives it: character columns padded with blanks to the column length.
MySQLValue padded_for_reading(const MySQLValue& value, const MySQLField& field);
// 1-based position of the first column named `name` ignoring case; 0 when none.
int mysql_field_position(const std::vector<MySQLField>& fields, std::string_view name);
// The numeric value at the start of a text, as the program reads numbers typed or stored
// as text: leading blanks skipped, "12abc" is 12, "abc" is 0.
double numeric_value(std::string_view text);

}  // namespace rt
