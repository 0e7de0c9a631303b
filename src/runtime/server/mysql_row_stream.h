#pragma once
// The rows of one select, read from the server one at a time as they arrive instead of
// being stored on the client first: a table of any size goes through in constant memory,
// and the caller works on the first rows while the server still sends the rest.
//
// Values read exactly as TMySQLRow gives them: typed by column, character columns padded
// to the column length; Raw() gives the bytes as sent, NUL bytes included.
//
// While a stream is open its connection runs no other statement: read it to the end, or
// let it go (the rows not read are then drained from the connection).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/server/mysql_value.h"
#include "runtime/server/tmysql.h"

namespace rt {

class MySQLRowStream {
  public:
    // Sends the statement. A refused statement (or no connection) leaves NetErr() true and
    // raises the connection's error flag, as a failed Query does.
    MySQLRowStream(TMySQLServer& server, std::string_view sql);
    ~MySQLRowStream();
    MySQLRowStream(const MySQLRowStream&) = delete;
    MySQLRowStream& operator=(const MySQLRowStream&) = delete;

    // Moves to the next row: false at the end of the rows, or when the reading broke off
    // (then NetErr() is true and the connection's error flag is raised).
    bool Next();
    bool NetErr() const { return error_; }
    // The connection's error text for the failure; clears this stream's flag.
    std::string Error();
    long RowsRead() const { return rows_read_; }

    const std::vector<MySQLField>& Fields() const { return fields_; }
    int FieldPos(std::string_view name) const;  // 1-based; 0 when there is no such column
    // A column of the current row, by position (1-based), as TMySQLRow::FieldGet gives it.
    MySQLValue FieldGet(int position) const;
    // The bytes of a column of the current row as the server sent them ("" for NULL).
    std::string_view Raw(int position) const;

  private:
    void fail();
    void give_up();

    TMySQLServer& server_;
    detail::ResultHandle result_;
    std::vector<MySQLField> fields_;
    char** row_ = nullptr;
    unsigned long* lengths_ = nullptr;
    long rows_read_ = 0;
    bool error_ = false;
    std::string error_text_;
};

}  // namespace rt
