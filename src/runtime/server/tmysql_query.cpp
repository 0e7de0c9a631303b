// The stored result of one statement, read row by row.
#include <mysql.h>
#include <mysqld_error.h>

#include <algorithm>

#include "runtime/server/mysql_typing.h"
#include "runtime/server/nonblocking.h"
#include "runtime/server/tmysql.h"

namespace rt {

namespace detail {
void ResultFreer::operator()(st_mysql_res* result) const {
    mysql_free_result(result);
}
}  // namespace detail

static std::shared_ptr<const std::vector<MySQLField>> no_fields() {
    static const auto empty = std::make_shared<const std::vector<MySQLField>>();
    return empty;
}

TMySQLQuery::TMySQLQuery(MYSQL* handle, std::string sql)
    : sql_(std::move(sql)), fields_(no_fields()) {
    if (!handle) {
        error_ = true;
        error_text_ = std::string(kNoConnection);
        return;
    }
    int failed = 0;
    given_up_ = !detail::run_without_blocking(
        handle, [&] { return mysql_real_query_start(&failed, handle, sql_.data(), sql_.size()); },
        [&](int events) { return mysql_real_query_cont(&failed, handle, events); });
    if (failed != 0) {
        error_ = true;
        error_number_ = mysql_errno(handle);
        error_text_ = mysql_error(handle);
        return;
    }
    MYSQL_RES* stored = nullptr;
    given_up_ = !detail::run_without_blocking(
        handle, [&] { return mysql_store_result_start(&stored, handle); },
        [&](int events) { return mysql_store_result_cont(&stored, handle, events); });
    result_.reset(stored);
    warnings_ = mysql_warning_count(handle);
    if (!result_) {
        // No rows to store: fine for insert, update, delete; a failure otherwise.
        if (mysql_field_count(handle) != 0) {
            error_ = true;
            error_number_ = mysql_errno(handle);
        }
        error_text_ = mysql_error(handle);
        return;
    }
    error_text_ = mysql_error(handle);
    row_count_ = static_cast<long>(mysql_num_rows(result_.get()));
    auto fields = std::make_shared<std::vector<MySQLField>>(mysql_fields_of(result_.get()));
    fields_ = std::move(fields);
    row_offsets_.reserve(static_cast<std::size_t>(row_count_));
    for (long i = 0; i < row_count_; ++i) {
        row_offsets_.push_back(mysql_row_tell(result_.get()));
        if (!mysql_fetch_row(result_.get())) break;
    }
    row_count_ = static_cast<long>(row_offsets_.size());
    GetRow(1);
}

TMySQLQuery::TMySQLQuery(TMySQLQuery&&) noexcept = default;
TMySQLQuery& TMySQLQuery::operator=(TMySQLQuery&&) noexcept = default;
TMySQLQuery::~TMySQLQuery() = default;

std::vector<MySQLValue> TMySQLQuery::read_values(long n, std::vector<std::string>& raw) const {
    const auto& fields = *fields_;
    std::vector<MySQLValue> values;
    values.reserve(fields.size());
    raw.assign(fields.size(), std::string());
    MYSQL_ROW data = nullptr;
    unsigned long* lengths = nullptr;
    if (n >= 1 && n <= row_count_) {
        mysql_row_seek(result_.get(), row_offsets_[static_cast<std::size_t>(n - 1)]);
        data = mysql_fetch_row(result_.get());
        if (data) lengths = mysql_fetch_lengths(result_.get());
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (data && data[i]) raw[i].assign(data[i], lengths[i]);
        values.push_back(convert_mysql_value(fields[i].type, raw[i]));
    }
    return values;
}

std::optional<TMySQLRow> TMySQLQuery::GetRow(std::optional<long> n) {
    if (!result_) return std::nullopt;
    long target = n.value_or(current_);
    if (row_count_ == 0) bof_ = true;
    if (target < 1 || target > row_count_) target = row_count_ + 1;
    current_ = target;
    eof_ = current_ > row_count_;
    std::vector<std::string> raw;
    auto values = read_values(current_, raw);
    row_.emplace(std::move(values), std::move(raw), fields_);
    return row_;
}

void TMySQLQuery::Skip(long n) {
    bof_ = row_count_ == 0;
    if (n > 0) {
        n = std::min(n, row_count_ + 1 - current_);
    } else if (n < 0 && current_ + n < 1) {
        n = 1 - current_;
        bof_ = true;
    }
    GetRow(current_ + n);
}

MySQLValue TMySQLQuery::FieldGet(std::string_view name) const {
    return row_ ? row_->FieldGet(name) : MySQLValue{};
}

MySQLValue TMySQLQuery::FieldGet(int position) const {
    return row_ ? row_->FieldGet(position) : MySQLValue{};
}

bool TMySQLQuery::Busy() const {
    return error_number_ == ER_LOCK_WAIT_TIMEOUT || error_number_ == ER_LOCK_DEADLOCK;
}

std::string TMySQLQuery::Error() {
    error_ = false;
    return error_text_;
}

void TMySQLQuery::Destroy() {
    result_.reset();
    row_.reset();
    row_offsets_.clear();
    fields_ = no_fields();
    row_count_ = 0;
    current_ = 1;
    bof_ = eof_ = true;
}

}  // namespace rt
