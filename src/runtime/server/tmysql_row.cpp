// One row of a result: typed values and their reading by column name or position.
#include <cctype>

#include "runtime/server/mysql_typing.h"
#include "runtime/server/tmysql.h"

namespace rt {

TMySQLRow::TMySQLRow(std::vector<MySQLValue> values, std::vector<std::string> raw,
                     std::shared_ptr<const std::vector<MySQLField>> fields)
    : values_(std::move(values)), raw_(std::move(raw)), fields_(std::move(fields)) {}

int TMySQLRow::FieldPos(std::string_view name) const {
    return mysql_field_position(*fields_, name);
}

MySQLValue TMySQLRow::FieldGet(std::string_view name) const {
    return FieldGet(FieldPos(name));
}

MySQLValue TMySQLRow::FieldGet(int position) const {
    if (position < 1 || position > FCount()) return {};
    const auto i = static_cast<std::size_t>(position - 1);
    return padded_for_reading(values_[i], (*fields_)[i]);
}

const std::string& TMySQLRow::Raw(int position) const {
    static const std::string empty;
    if (position < 1 || position > static_cast<int>(raw_.size())) return empty;
    return raw_[static_cast<std::size_t>(position - 1)];
}

}  // namespace rt
