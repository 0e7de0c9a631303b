// Prepared statements with bound parameters, and batches of rows for one table.
#include "runtime/offline/todbc_statement.h"

#include <vector>

#include "runtime/offline/extension/bound_rows.h"
#include "runtime/offline/join_keyword_calls.h"
#include "runtime/offline/todbc_handles.h"

namespace rt {
namespace {

// A batch is written once it holds this many bytes: large enough that compiling the
// statement costs nothing next to the rows, small enough to stay in the processor's cache.
constexpr std::size_t kBatchBytes = 256 * 1024;

std::string bulk_statement(std::string_view head, int columns) {
    std::string sql(head);
    sql += " select ";
    for (int i = 1; i <= columns; ++i) sql += (i > 1 ? ", c" : "c") + std::to_string(i);
    sql += " from bound_rows(?, " + std::to_string(columns) + ")";
    return sql;
}

}  // namespace

TODBCStatement::TODBCStatement(TODBC& db, std::string_view sql) : db_(db) {
    if (!db_.connected_) {
        db_.lastError_ = "Error  - base de datos local no disponible";
        return;
    }
    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, db_.h_->dbc.get(), &raw))) {
        db_.lastError_ = diagnostic(SQL_HANDLE_DBC, db_.h_->dbc.get());
        return;
    }
    std::string text = quote_join_keyword_calls(sql);
    const SQLRETURN rc = SQLPrepare(raw, reinterpret_cast<SQLCHAR*>(text.data()),
                                    static_cast<SQLINTEGER>(text.size()));
    if (rc != SQL_SUCCESS) {
        db_.lastError_ = diagnostic(SQL_HANDLE_STMT, raw);
        SQLFreeHandle(SQL_HANDLE_STMT, raw);
        return;
    }
    stmt_ = raw;
}

TODBCStatement::~TODBCStatement() {
    if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

bool TODBCStatement::Execute(std::span<const TODBCValue> values) {
    if (!stmt_) return false;
    static char empty[1] = {};
    // The lengths are read when the statement runs: they live until it has.
    std::vector<SQLLEN> lengths(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const TODBCValue& v = values[i];
        lengths[i] = static_cast<SQLLEN>(v.bytes.size());
        auto* data = v.bytes.empty() ? empty : const_cast<char*>(v.bytes.data());
        const SQLULEN size = v.bytes.empty() ? 1 : v.bytes.size();
        const SQLRETURN rc = SQLBindParameter(stmt_, static_cast<SQLUSMALLINT>(i + 1),
                                              SQL_PARAM_INPUT, v.binary ? SQL_C_BINARY : SQL_C_CHAR,
                                              v.binary ? SQL_LONGVARBINARY : SQL_VARCHAR, size, 0,
                                              data, lengths[i], &lengths[i]);
        if (!SQL_SUCCEEDED(rc)) {
            db_.lastError_ = diagnostic(SQL_HANDLE_STMT, stmt_);
            return false;
        }
    }
    const SQLRETURN rc = SQLExecute(stmt_);
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA) return true;
    db_.lastError_ = diagnostic(SQL_HANDLE_STMT, stmt_);
    return false;
}

TODBCBulkInsert::TODBCBulkInsert(TODBC& db, std::string_view head, int columns)
    : statement_(db, bulk_statement(head, columns)), columns_(columns) {
    batch_.reserve(kBatchBytes + 4096);
}

bool TODBCBulkInsert::Add(std::span<const std::string_view> row) {
    for (int i = 0; i < columns_; ++i) {
        bound_rows::append_value(batch_, i < static_cast<int>(row.size()) ? row[i] : "");
    }
    ++gathered_;
    return batch_.size() < kBatchBytes || Flush();
}

bool TODBCBulkInsert::Flush() {
    if (gathered_ == 0) return true;
    const bool ok = statement_.Execute({TODBCValue::Blob(batch_)});
    if (ok) written_ += gathered_;
    batch_.clear();
    gathered_ = 0;
    return ok;
}

}  // namespace rt
