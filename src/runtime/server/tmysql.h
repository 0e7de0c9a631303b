#pragma once
// The client of the company database server: a connection (TMySQLServer), the stored
// result of one statement (TMySQLQuery) and one row of it (TMySQLRow).
//
// Statements go to the server exactly as given. Values come back typed by their column:
// TINYINT is a logical, the integer and decimal types are numbers, DATE is a date, and
// everything else is text. CHAR, VARCHAR and DATETIME values are padded with blanks to the
// column length when read, so fixed-width codes keep their width; TEXT is never padded.
//
// Error flags: a statement's flag covers that statement only; the connection's flag is
// raised by any failure and stays raised until Error() (or SelectDB) clears it, so a caller
// that checks the connection after several statements sees a failure among them.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/server/mysql_value.h"

struct st_mysql;
struct st_mysql_res;
struct st_mysql_rows;

namespace rt {

// The description of one result column, as the server reports it.
struct MySQLField {
    std::string name;  // the alias when the statement gives one
    std::string table;
    std::string def;               // default value
    int type = 0;                  // the client library's type code (1 TINYINT, 253 VARCHAR ...)
    unsigned long length = 0;      // bytes, in the connection's (single-byte) character set
    unsigned long max_length = 0;  // longest value in the result
    unsigned int flags = 0;
    unsigned int decimals = 0;
};

namespace detail {
struct MysqlCloser {
    void operator()(st_mysql* handle) const;
};
struct ResultFreer {
    void operator()(st_mysql_res* result) const;
};
using MysqlHandle = std::unique_ptr<st_mysql, MysqlCloser>;
using ResultHandle = std::unique_ptr<st_mysql_res, ResultFreer>;
}  // namespace detail

// The text a connection without a handle reports as its error.
inline constexpr std::string_view kNoConnection = "No connection to server";

class TMySQLRow {
  public:
    TMySQLRow(std::vector<MySQLValue> values, std::vector<std::string> raw,
              std::shared_ptr<const std::vector<MySQLField>> fields);

    // By name: the first column whose name matches ignoring case. By position: 1..FCount().
    // Character columns come back padded to the column length. Unknown columns give Nil.
    MySQLValue FieldGet(std::string_view name) const;
    MySQLValue FieldGet(int position) const;
    int FieldPos(std::string_view name) const;  // 0 when there is no such column
    int FCount() const { return static_cast<int>(values_.size()); }
    // The value exactly as the server sent it (empty for NULL and past the end).
    const std::string& Raw(int position) const;
    const std::vector<MySQLField>& Fields() const { return *fields_; }

  private:
    std::vector<MySQLValue> values_;
    std::vector<std::string> raw_;
    std::shared_ptr<const std::vector<MySQLField>> fields_;
};

class TMySQLQuery {
  public:
    TMySQLQuery(TMySQLQuery&&) noexcept;
    TMySQLQuery& operator=(TMySQLQuery&&) noexcept;
    ~TMySQLQuery();

    bool NetErr() const { return error_; }
    long LastRec() const { return row_count_; }
    long RecNo() const { return current_; }
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int FCount() const { return static_cast<int>(fields_->size()); }
    const std::vector<MySQLField>& Fields() const { return *fields_; }
    const std::string& Sql() const { return sql_; }

    // Moves to row n (the current row without n) and returns it; a row outside 1..LastRec()
    // leaves the query past the end and gives a row of empty values. Nothing for a statement
    // without result set.
    std::optional<TMySQLRow> GetRow(std::optional<long> n = {});
    // Moves n rows, stopping at row 1 and just past the last row, and reads the row there.
    void Skip(long n = 1);
    MySQLValue FieldGet(std::string_view name) const;
    MySQLValue FieldGet(int position) const;

    // Clears this statement's flag; the connection's error text when the statement ran.
    std::string Error();
    // The client library's or the server's number for the failure; 0 when there was none.
    unsigned int ErrorNo() const { return error_number_; }
    // Refused because a row it needed stayed locked by another connection (lock wait
    // timeout or deadlock): nothing of the statement was done, and it may be tried again.
    bool Busy() const;
    // Warnings and notes the server left about the statement (a value cut to fit its
    // column under a lax SQL mode, for one); SHOW WARNINGS on the connection lists them.
    unsigned int WarningCount() const { return warnings_; }
    // Frees the stored rows; the query then behaves as a statement without result set.
    void Destroy();

  private:
    friend class TMySQLServer;
    TMySQLQuery(st_mysql* handle, std::string sql);
    std::vector<MySQLValue> read_values(long n, std::vector<std::string>& raw) const;

    std::string sql_;
    detail::ResultHandle result_;
    // Where each stored row starts, so that reading row n costs the same for every n (the
    // client library's own seek walks the rows from the first).
    std::vector<st_mysql_rows*> row_offsets_;
    std::shared_ptr<const std::vector<MySQLField>> fields_;
    long row_count_ = 0;
    long current_ = 1;
    bool bof_ = true;
    bool eof_ = true;
    bool error_ = false;
    unsigned int error_number_ = 0;
    unsigned int warnings_ = 0;
    bool given_up_ = false;  // the server stayed silent: the connection must be closed
    std::string error_text_;
    std::optional<TMySQLRow> row_;
};

class TMySQLServer {
  public:
    // Opens a connection to "host" or "host:port" (port 3306 when not given) with no database
    // selected, in the latin1 (Windows-1252) character set. Always gives an object; NetErr()
    // tells whether the connection failed. A server that does not answer is given up after
    // a few seconds. A statement or database selection that the server leaves unanswered is
    // given up as runtime/server/server_wait.h says, and the connection is then closed.
    static std::unique_ptr<TMySQLServer> New(std::string_view address, std::string_view user,
                                             std::string_view password);
    TMySQLServer(std::string_view address, std::string_view user, std::string_view password);
    ~TMySQLServer();
    TMySQLServer(const TMySQLServer&) = delete;
    TMySQLServer& operator=(const TMySQLServer&) = delete;

    bool SelectDB(std::string_view name);
    TMySQLQuery Query(std::string_view sql);
    bool NetErr() const { return error_; }
    std::string Error();
    // Closes the connection; later statements fail with "No connection to server".
    void Destroy();

    // The text escaped for a statement on this connection (see mysql_escape).
    std::string escape(std::string_view text) const;

    // A second connection to the same server with the same account and database, such as
    // one that looks whether a statement whose answer this connection lost was carried out.
    std::unique_ptr<TMySQLServer> OpenAnother() const;

    bool connected() const { return handle_ != nullptr; }
    const std::string& address() const { return address_; }
    const std::string& user() const { return user_; }
    const std::string& database() const { return database_; }

  private:
    friend std::string mysql_escape(const TMySQLServer* server, std::string_view text);
    friend class MySQLRowStream;  // reads a select row by row on this connection
    // Settings of the session that the program relies on, whatever the server's defaults.
    void pin_session();
    detail::MysqlHandle handle_;
    std::string address_, user_, password_, database_;
    bool error_ = false;
};

// "host" or "host:port"; IPv6 literals as "[::1]:port". Port 3306 when none is given.
struct MySQLAddress {
    std::string host;
    unsigned int port = 3306;
};
std::optional<MySQLAddress> parse_mysql_address(std::string_view address);

// Every text value placed inside single quotes in a statement to `server` goes through
// this. The client library escapes it on the open connection, for its character set and
// the server's current SQL mode: backslashes under the default mode, doubled quotes where
// the server takes backslashes literally (NO_BACKSLASH_ESCAPES), so that the server always
// stores the bytes as given. Without an open connection no statement can run; the text is
// then escaped as for the default mode.
std::string mysql_escape(const TMySQLServer* server, std::string_view text);
// The SQL mode each connection sets for its own session: strict (a value that does not fit
// its column is an error), with those modes of the server's that the statements tolerate.
std::string strict_sql_mode(std::string_view server_mode);
// A number as statement text: its decimal digits, no blanks, no exponent ("-2.5", "7").
std::string mysql_number(double n);

}  // namespace rt

// The program's own code names the classes without the namespace.
using rt::TMySQLQuery;
using rt::TMySQLRow;
using rt::TMySQLServer;
