#include "runtime/offline/todbc.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>

#include "runtime/offline/driver_silence.h"
#include "runtime/offline/environment_failure.h"
#include "runtime/offline/join_keyword_calls.h"
#include "runtime/offline/todbc_handles.h"

namespace rt {
namespace {

// A value arrives in slices of this many bytes (the last byte holds the terminator).
constexpr SQLLEN kValueBuffer = 128;
constexpr std::size_t kNameBuffer = 256;

std::string upper(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The whole value of one column of the fetched row, however long; NULL gives "".
bool read_value(SQLHSTMT stmt, SQLUSMALLINT column, std::string& out) {
    out.clear();
    char buffer[kValueBuffer];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_CHAR, buffer, kValueBuffer, &indicator);
        if (rc == SQL_NO_DATA) return true;
        if (!SQL_SUCCEEDED(rc)) return false;
        if (indicator == SQL_NULL_DATA) return true;
        const bool more = indicator == SQL_NO_TOTAL || indicator >= kValueBuffer;
        const auto got = more ? kValueBuffer - 1 : indicator;
        out.append(buffer, static_cast<std::size_t>(got));
        if (!more) return true;
    }
}

}  // namespace

TODBC::TODBC(std::string connection_string)
    : h_(std::make_unique<Handles>()), cODBCStr_(std::move(connection_string)) {
    connect();
}

TODBC::~TODBC() {
    Destroy();
}

void TODBC::connect() {
    SQLHANDLE env = SQL_NULL_HANDLE;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    if (!SQL_SUCCEEDED(rc)) {
        lError_ = true;
        nRetCode_ = rc;
        lastError_ = diagnostic(SQL_HANDLE_ENV, env);
        if (env != SQL_NULL_HANDLE) SQLFreeHandle(SQL_HANDLE_ENV, env);
        report_environment_failure(lastError_);
        return;
    }
    h_->env.adopt(SQL_HANDLE_ENV, env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

    SQLHANDLE dbc = SQL_NULL_HANDLE;
    rc = SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    if (!SQL_SUCCEEDED(rc)) {
        lastError_ = diagnostic(SQL_HANDLE_ENV, env);
        return;
    }
    h_->dbc.adopt(SQL_HANDLE_DBC, dbc);

    // The driver writes some complaints (an extension it cannot load ...) straight to the
    // standard error stream, which is the user's screen: keep them off it.
    DriverSilence silence;
    SQLCHAR completed[1024] = {};
    SQLSMALLINT completed_length = 0;
    rc = SQLDriverConnect(dbc, nullptr,
                          reinterpret_cast<SQLCHAR*>(const_cast<char*>(cODBCStr_.c_str())), SQL_NTS,
                          completed, sizeof completed, &completed_length, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        lastError_ = diagnostic(SQL_HANDLE_DBC, dbc);
        return;
    }
    cODBCRes_ = reinterpret_cast<char*>(completed);
    connected_ = true;
    // Without our functions half of the statements would fail and the other half would
    // work; better that the store counts as unreachable as a whole.
    if (!extension_answers()) {
        const auto driver_said = silence.captured();
        lastError_ += driver_said.empty() ? std::string{} : " (" + driver_said + ")";
        SQLDisconnect(dbc);
        connected_ = false;
    }
}

bool TODBC::extension_answers() {
    // Reading the catalogue also proves that the file is a database we can read.
    SetSQL(
        "select len(space(2)) || mid('xab',2,1) || left('cd',1) || "
        "(select count(*) >= 0 from sqlite_master) as prueba");
    const bool ok = Open() && FieldValue("prueba") == "2ac1";
    Close();
    cSQL_.clear();
    return ok;
}

void TODBC::SetSQL(std::string_view sql) {
    if (Active_) Close();
    cSQL_ = sql;
}

bool TODBC::run(std::string_view statement) {
    if (!connected_) return false;
    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, h_->dbc.get(), &raw))) {
        lastError_ = diagnostic(SQL_HANDLE_DBC, h_->dbc.get());
        return false;
    }
    OdbcHandle stmt(SQL_HANDLE_STMT, raw);
    const std::string text = quote_join_keyword_calls(statement);
    const SQLRETURN executed =
        SQLExecDirect(raw, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data())),
                      static_cast<SQLINTEGER>(text.size()));
    // An update or delete that matched no row answers "no data": it ran cleanly, so it
    // counts as success (deleting from an empty table is not an error).
    const bool clean = executed == SQL_SUCCESS || executed == SQL_NO_DATA;
    if (!clean) lastError_ = diagnostic(SQL_HANDLE_STMT, raw);
    bool complete = true;

    SQLSMALLINT columns = 0;
    if (SQL_SUCCEEDED(executed)) SQLNumResultCols(raw, &columns);
    for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        SQLCHAR name[kNameBuffer] = {};
        SQLSMALLINT name_length = 0, type = 0, decimals = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(raw, c, name, sizeof name, &name_length, &type, &size, &decimals, &nullable);
        TODBCField field;
        field.FieldID = c;
        field.FieldName = reinterpret_cast<char*>(name);
        field.DataType = type;
        field.DataSize = static_cast<long>(size);
        field.DataDecs = decimals;
        field.AllowNull = nullable != SQL_NO_NULLS;
        Fields_.push_back(std::move(field));
    }
    while (columns > 0) {
        const SQLRETURN fetched = SQLFetch(raw);
        if (fetched == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(fetched)) {
            // A result cut short is not a result: report it rather than half the rows.
            lastError_ = diagnostic(SQL_HANDLE_STMT, raw);
            complete = false;
            break;
        }
        std::vector<std::string> row(static_cast<std::size_t>(columns));
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            if (!read_value(raw, c, row[c - 1])) {
                lastError_ = diagnostic(SQL_HANDLE_STMT, raw);
                complete = false;
            }
        }
        aRecordSet_.push_back(std::move(row));
    }
    // The statement handle goes now: the rows are in memory, and an open cursor would keep a
    // read lock that a second connection's write would have to wait for.
    return clean && complete;
}

bool TODBC::Open() {
    if (Active_ || cSQL_.empty() || !connected_) return false;
    Fields_.clear();
    aRecordSet_.clear();
    const bool ok = run(cSQL_);
    nRecCount_ = static_cast<long>(aRecordSet_.size());
    nRecNo_ = 1;
    Active_ = true;
    load_row(1);
    return ok;
}

void TODBC::load_row(long row) {
    const bool present = row >= 1 && row <= nRecCount_;
    for (auto& field : Fields_) {
        field.Value = present ? aRecordSet_[static_cast<std::size_t>(row - 1)]
                                           [static_cast<std::size_t>(field.FieldID - 1)]
                              : std::string(kValueBuffer, ' ');
    }
}

int TODBC::First() {
    nRecNo_ = 1;
    load_row(1);
    return nRecCount_ > 0 ? SQL_SUCCESS : SQL_NO_DATA;
}

int TODBC::Skip() {
    for (auto& field : Fields_) field.Value.clear();
    if (nRecNo_ < nRecCount_) {
        ++nRecNo_;
        load_row(nRecNo_);
        return SQL_SUCCESS;
    }
    if (nRecNo_ == nRecCount_) ++nRecNo_;
    return SQL_NO_DATA;
}

const TODBCField* TODBC::find_field(std::string_view name) const {
    const auto wanted = upper(name);
    const auto it = std::find_if(Fields_.begin(), Fields_.end(),
                                 [&](const TODBCField& f) { return upper(f.FieldName) == wanted; });
    return it == Fields_.end() ? nullptr : &*it;
}

TODBCField* TODBC::FieldByName(std::string_view name) {
    return const_cast<TODBCField*>(find_field(name));  // the field is ours to hand out
}

std::string TODBC::FieldValue(std::string_view name) const {
    const auto* field = find_field(name);
    return field ? field->Value : std::string{};
}

void TODBC::Close() {
    Active_ = false;
    aRecordSet_.clear();
    nRecCount_ = 0;
    nRecNo_ = 0;
}

void TODBC::Destroy() {
    if (!h_) return;
    Close();
    if (inTransaction_) RollbackTransaction();
    if (connected_) SQLDisconnect(h_->dbc.get());
    connected_ = false;
    h_->dbc.reset();
    h_->env.reset();
}

// The transaction is begun, committed and rolled back by statements of its own rather than
// through the driver's autocommit switch: when the store undoes a transaction by itself (a
// full disk does that), the driver keeps believing it open and would run the following
// statements one by one, each committed, outside any transaction.
bool TODBC::BeginTransaction() {
    if (!connected_ || inTransaction_) return false;
    inTransaction_ = run("BEGIN");
    return inTransaction_;
}

bool TODBC::CommitTransaction() {
    if (!inTransaction_) return false;
    // A commit the store refuses leaves the transaction open, for the caller to roll back.
    if (!run("COMMIT")) return false;
    inTransaction_ = false;
    return true;
}

bool TODBC::RollbackTransaction() {
    if (!inTransaction_) return false;
    inTransaction_ = false;
    if (run("ROLLBACK")) return true;
    // The store may have undone the transaction already by itself: then a new one can
    // begin, nothing of the old one is left, and the rollback has done its job.
    const std::string why = lastError_;
    const bool none_open = run("BEGIN") && run("ROLLBACK");
    lastError_ = why;
    return none_open;
}

}  // namespace rt
