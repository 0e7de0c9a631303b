#pragma once
// Statements with "?" markers on an off-line store connection, for writes whose values come
// from elsewhere (the server, the user): each value is bound as a parameter with its length,
// so every byte reaches the store as it is (quotes, NUL, escape and 8-bit bytes included)
// and no value is ever read as part of the statement.
//
//   TODBCStatement ins(RS, "insert into bodegas (numero_bod,nombre_bod) Values(?, ? )");
//   ins.Execute({"7", "Patio O'Higgins"});
//
// TODBCBulkInsert writes many rows into one table at the speed the store can take them.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "runtime/offline/todbc.h"

namespace rt {

// One value for a marker: text, or bytes handed over as a BLOB.
struct TODBCValue {
    // A text is a value (implicitly, so that a call reads Execute({code, name})).
    TODBCValue(std::string_view text) : bytes(text) {}
    TODBCValue(const std::string& text) : bytes(text) {}
    TODBCValue(const char* text) : bytes(text) {}
    static TODBCValue Blob(std::string_view b) {
        TODBCValue v(b);
        v.binary = true;
        return v;
    }
    std::string_view bytes;
    bool binary = false;
};

class TODBCStatement {
  public:
    // Prepares `sql` on `db`'s connection; Prepared() is false when that failed (the reason
    // is then in db.SQLErrorMessage()). The driver may find a fault in the statement only
    // when it runs. The statement must go before `db` does.
    TODBCStatement(TODBC& db, std::string_view sql);
    ~TODBCStatement();
    TODBCStatement(const TODBCStatement&) = delete;
    TODBCStatement& operator=(const TODBCStatement&) = delete;

    bool Prepared() const { return stmt_ != nullptr; }
    // Runs the statement once with `values` for its markers, in order. True on plain success
    // (an update or delete that matches nothing included); on failure the store's text is in
    // the connection's SQLErrorMessage(). For statements without a result (insert, update,
    // delete).
    bool Execute(std::span<const TODBCValue> values);
    bool Execute(std::initializer_list<TODBCValue> values) {
        return Execute(std::span<const TODBCValue>(values.begin(), values.size()));
    }

  private:
    TODBC& db_;
    void* stmt_ = nullptr;  // SQLHSTMT
};

// Rows for one table, gathered into batches; each batch reaches the store as one bound
// parameter of one prepared statement,
//
//   insert into bodegas (numero_bod,nombre_bod) select c1, c2 from bound_rows(?, 2)
//
// which the store's extension unpacks row by row, in the order the rows were added. The
// driver compiles a statement anew at every execution, bound parameters or not, so one
// execution per row would spend most of its time compiling. The values are text and keep
// every byte; the table's column types apply to them as to bound text parameters.
class TODBCBulkInsert {
  public:
    // `head` is the insert up to and with its column list, "insert into t (a, b)";
    // `columns` the number of columns listed (at most 16).
    TODBCBulkInsert(TODBC& db, std::string_view head, int columns);

    bool Prepared() const { return statement_.Prepared(); }
    // Adds one row of exactly `columns` values; writes the batch when it is full. False when
    // a batch could not be written (the store's text is in the connection's
    // SQLErrorMessage()): rows of that batch, and of earlier ones, may be in the table.
    bool Add(std::span<const std::string_view> row);
    // Writes the rows still gathered.
    bool Flush();
    long RowsWritten() const { return written_; }

  private:
    TODBCStatement statement_;
    int columns_;
    std::string batch_;
    long gathered_ = 0;
    long written_ = 0;
};

}  // namespace rt
