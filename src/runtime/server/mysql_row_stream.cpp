// Rows read from the server one at a time (the client library's unbuffered result).
#include "runtime/server/mysql_row_stream.h"

#include <mysql.h>

#include "runtime/server/mysql_typing.h"
#include "runtime/server/nonblocking.h"

namespace rt {

std::vector<MySQLField> mysql_fields_of(st_mysql_res* result) {
    const auto text = [](const char* s, unsigned int len) {
        return s ? std::string(s, len) : std::string();
    };
    const unsigned int count = mysql_num_fields(result);
    const MYSQL_FIELD* f = mysql_fetch_fields(result);
    std::vector<MySQLField> fields;
    fields.reserve(count);
    for (unsigned int i = 0; i < count; ++i) {
        fields.push_back(MySQLField{
            .name = text(f[i].name, f[i].name_length),
            .table = text(f[i].table, f[i].table_length),
            .def = text(f[i].def, f[i].def_length),
            .type = static_cast<int>(f[i].type),
            .length = f[i].length,
            .max_length = f[i].max_length,
            .flags = f[i].flags,
            .decimals = f[i].decimals,
        });
    }
    return fields;
}

MySQLRowStream::MySQLRowStream(TMySQLServer& server, std::string_view sql) : server_(server) {
    MYSQL* handle = server_.handle_.get();
    if (!handle) {
        error_text_ = std::string(kNoConnection);
        error_ = server_.error_ = true;
        return;
    }
    int failed = 0;
    const bool answered = detail::run_without_blocking(
        handle, [&] { return mysql_real_query_start(&failed, handle, sql.data(), sql.size()); },
        [&](int events) { return mysql_real_query_cont(&failed, handle, events); });
    if (answered && failed == 0) result_.reset(mysql_use_result(handle));
    if (!result_) {  // refused, or a statement without rows: no select to read
        fail();
        if (!answered) give_up();
        return;
    }
    fields_ = mysql_fields_of(result_.get());
}

MySQLRowStream::~MySQLRowStream() = default;

void MySQLRowStream::fail() {
    MYSQL* handle = server_.handle_.get();
    error_text_ = handle ? mysql_error(handle) : std::string(kNoConnection);
    error_ = server_.error_ = true;
    row_ = nullptr;
    result_.reset();
}

// A server that fell silent is left for good: its rows could still arrive later and be
// taken for the answer to the next statement.
void MySQLRowStream::give_up() {
    row_ = nullptr;
    result_.reset();
    server_.handle_.reset();
}

bool MySQLRowStream::Next() {
    if (!result_) return false;
    MYSQL_ROW row = nullptr;
    const bool answered = detail::run_without_blocking(
        server_.handle_.get(), [&] { return mysql_fetch_row_start(&row, result_.get()); },
        [&](int events) { return mysql_fetch_row_cont(&row, result_.get(), events); });
    row_ = row;
    if (!answered) {
        fail();
        give_up();
        return false;
    }
    if (!row_) {
        // The end of the rows, or a connection that broke off in the middle of them.
        if (mysql_errno(server_.handle_.get()) != 0) fail();
        return false;
    }
    lengths_ = mysql_fetch_lengths(result_.get());
    ++rows_read_;
    return true;
}

std::string MySQLRowStream::Error() {
    error_ = false;
    return error_text_;
}

int MySQLRowStream::FieldPos(std::string_view name) const {
    return mysql_field_position(fields_, name);
}

std::string_view MySQLRowStream::Raw(int position) const {
    if (!row_ || position < 1 || position > static_cast<int>(fields_.size())) return {};
    const auto i = static_cast<std::size_t>(position - 1);
    return row_[i] ? std::string_view(row_[i], lengths_[i]) : std::string_view();
}

MySQLValue MySQLRowStream::FieldGet(int position) const {
    if (position < 1 || position > static_cast<int>(fields_.size())) return {};
    const MySQLField& field = fields_[static_cast<std::size_t>(position - 1)];
    return padded_for_reading(convert_mysql_value(field.type, Raw(position)), field);
}

}  // namespace rt
