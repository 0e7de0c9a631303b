#pragma once
// TODBC: one connection to the off-line store through the ODBC driver manager, and the
// result of the last statement run on it.
//
// Every statement (select, insert, update, delete) runs with SetSQL followed by Open. The
// whole result is read into memory at once, every value as text in the store's code page
// (Windows-1252): numbers as decimal text with a point ("12", "12.5"), Yes/No as "1"/"0",
// dates as "yyyy-mm-dd hh:mm:ss", NULL as "". The values of row 1 are loaded as soon as
// Open returns; with no row, each value is 128 blanks.
//
// A connection that could not be made does not complain: every Open then returns false,
// and the caller shows its own message. Nothing the driver says ever reaches the terminal;
// SQLErrorMessage() keeps the last complaint for diagnostics.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/offline/store_connection.h"

namespace rt {

struct TODBCField {
    int FieldID = 0;        // position in the result, from 1
    std::string FieldName;  // as the driver reports it (the alias when there is one)
    int DataType = 0;
    long DataSize = 0;
    int DataDecs = 0;
    bool AllowNull = false;
    std::string Value;  // value in the current row
};

class TODBC {
  public:
    // New: allocates the environment and the connection and connects.
    explicit TODBC(std::string connection_string = offline_connection_string());
    ~TODBC();  // Destroy
    TODBC(const TODBC&) = delete;
    TODBC& operator=(const TODBC&) = delete;

    // Closes an active statement first, then keeps the text for the next Open.
    void SetSQL(std::string_view sql);
    // Runs the kept statement and reads its whole result. True only on plain success (a
    // warning counts as failure); false without running anything when the object is
    // active, the text is empty or there is no connection.
    bool Open();
    long LastRec() const { return nRecCount_; }
    long RecCount() const { return nRecCount_; }
    int First();  // 0, or 100 when there is no row
    int Skip();   // 0, or 100 when the cursor ends up past the last row
    bool Eof() const { return nRecCount_ == 0 || nRecNo_ > nRecCount_; }
    // First column whose name equals `name` ignoring case, or nullptr.
    TODBCField* FieldByName(std::string_view name);
    // The current value of that column, "" when there is no such column.
    std::string FieldValue(std::string_view name) const;
    // Drops the result: inactive, no rows, row count and row number 0.
    void Close();
    // Disconnects and frees the connection and the environment (also done on destruction).
    void Destroy();

    // Several writes as one unit (the driver otherwise commits each statement): a download
    // of thousands of rows runs many times faster, and all or nothing of it is kept.
    // After a failed statement inside it, roll back: RollbackTransaction is true when
    // nothing of the transaction is left, also when the store had already undone it by
    // itself (as it does on a full disk). A refused commit leaves the transaction open.
    bool BeginTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();
    bool InTransaction() const { return inTransaction_; }

    bool Active() const { return Active_; }
    bool Connected() const { return connected_; }
    long RecNo() const { return nRecNo_; }
    const std::vector<TODBCField>& Fields() const { return Fields_; }
    const std::vector<std::vector<std::string>>& Rows() const { return aRecordSet_; }
    const std::string& SQL() const { return cSQL_; }
    const std::string& ConnectionString() const { return cODBCStr_; }
    bool Error() const { return lError_; }  // the environment could not be allocated
    int RetCode() const { return nRetCode_; }
    // "Error " + state + " - " + the driver's message, for the last failure.
    const std::string& SQLErrorMessage() const { return lastError_; }

  private:
    friend class TODBCStatement;  // prepares and runs on this connection
    struct Handles;
    void connect();
    bool extension_answers();
    bool run(std::string_view statement);
    void load_row(long row);
    const TODBCField* find_field(std::string_view name) const;

    std::unique_ptr<Handles> h_;  // hEnv, hDbc (hStmt lives only inside Open)
    std::string cODBCStr_;
    std::string cODBCRes_;  // the completed connection text the driver returned
    std::string cSQL_;
    bool Active_ = false;
    std::vector<TODBCField> Fields_;
    long nRecCount_ = 0;
    long nRecNo_ = 0;
    std::vector<std::vector<std::string>> aRecordSet_;
    bool lError_ = false;
    int nRetCode_ = 0;
    bool connected_ = false;
    bool inTransaction_ = false;
    std::string lastError_;
};

// Text of a value for an off-line statement, placed between the statement's single quotes:
// a quote inside it is doubled, so O'Higgins is stored as typed and never ends the literal.
std::string mdb_quote(std::string_view text);

// Decimal text of a number for an off-line statement: a point, no blanks, no exponent;
// `decimals` < 0 gives the shortest exact form ("12", "12.5"), otherwise fixed ("150.00").
std::string mdb_number(double value, int decimals = -1);

// A number read from a value of the store: leading blanks skipped, reading stops at the
// first character that cannot continue the number (an exponent continues it: the driver
// gives 0.00005 as "5.0e-05"), "" gives 0.
double store_number(std::string_view text);
// The same for a value that must be a number and nothing else (blanks around it aside):
// nullopt for "", "abc", "12x" or a value out of range.
std::optional<double> store_number_exact(std::string_view text);

}  // namespace rt

using rt::TODBC;
using rt::TODBCField;
