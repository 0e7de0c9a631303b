// The table-valued function bound_rows(batch, columns): the rows packed into one bound
// parameter (format in bound_rows.h), one row of text values c1..cN at a time. It lets one
// statement write a whole batch of rows,
//
//   insert into bodegas (numero_bod,nombre_bod) select c1, c2 from bound_rows(?, 2)
//
// so that the statement is compiled once per batch instead of once per row. Every value is
// text and keeps every byte; the table's column types then apply to it exactly as to a
// bound text parameter. A batch that does not hold whole rows is an error, not a short copy.
#include "bound_rows.h"

#include <sqlite3ext.h>

#include <string>

SQLITE_EXTENSION_INIT3

namespace {

using rt::bound_rows::kMaxColumns;

// Columns c1..c16, then the two arguments.
constexpr int kBatchArgument = kMaxColumns;
constexpr int kColumnsArgument = kMaxColumns + 1;

struct Cursor {
    sqlite3_vtab_cursor base{};
    std::string batch;  // a copy: the argument lives only as long as the filter call
    std::size_t pos = 0;
    int columns = 0;
    sqlite3_int64 row = 0;
    bool eof = true;
    std::string_view values[kMaxColumns];
};

Cursor& cursor_of(sqlite3_vtab_cursor* c) {
    return *reinterpret_cast<Cursor*>(c);
}

int connect(sqlite3* db, void*, int, const char* const*, sqlite3_vtab** table, char**) {
    std::string schema = "CREATE TABLE x(";
    for (int i = 1; i <= kMaxColumns; ++i)
        schema.append("c").append(std::to_string(i)).append(", ");
    schema += "batch HIDDEN, columns HIDDEN)";
    const int rc = sqlite3_declare_vtab(db, schema.c_str());
    if (rc != SQLITE_OK) return rc;
    *table = new sqlite3_vtab{};
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* table) {
    delete table;
    return SQLITE_OK;
}

// Both arguments must be given as values; the rows come out in batch order.
int best_index(sqlite3_vtab*, sqlite3_index_info* info) {
    int batch = -1, columns = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (c.op != SQLITE_INDEX_CONSTRAINT_EQ) continue;
        if (c.iColumn == kBatchArgument || c.iColumn == kColumnsArgument) {
            if (!c.usable) return SQLITE_CONSTRAINT;
            (c.iColumn == kBatchArgument ? batch : columns) = i;
        }
    }
    if (batch < 0 || columns < 0) return SQLITE_CONSTRAINT;
    info->aConstraintUsage[batch] = {1, 1};
    info->aConstraintUsage[columns] = {2, 1};
    info->estimatedCost = 1;
    return SQLITE_OK;
}

int open_cursor(sqlite3_vtab*, sqlite3_vtab_cursor** cursor) {
    *cursor = &(new Cursor)->base;
    return SQLITE_OK;
}

int close_cursor(sqlite3_vtab_cursor* cursor) {
    delete &cursor_of(cursor);
    return SQLITE_OK;
}

int read_row(sqlite3_vtab_cursor* cursor) {
    Cursor& c = cursor_of(cursor);
    c.eof = c.pos >= c.batch.size();
    if (c.eof) return SQLITE_OK;
    for (int i = 0; i < c.columns; ++i) {
        if (!rt::bound_rows::next_value(c.batch, c.pos, c.values[i])) {
            cursor->pVtab->zErrMsg = sqlite3_mprintf("lote de filas incompleto");
            return SQLITE_ERROR;
        }
    }
    ++c.row;
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int argc, sqlite3_value** argv) {
    Cursor& c = cursor_of(cursor);
    const int columns = argc == 2 ? sqlite3_value_int(argv[1]) : 0;
    if (columns < 1 || columns > kMaxColumns) {
        cursor->pVtab->zErrMsg = sqlite3_mprintf("cantidad de columnas no valida");
        return SQLITE_ERROR;
    }
    const auto* bytes = static_cast<const char*>(sqlite3_value_blob(argv[0]));
    c.batch.assign(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
    c.pos = 0;
    c.row = 0;
    c.columns = columns;
    return read_row(cursor);
}

int eof(sqlite3_vtab_cursor* cursor) {
    return cursor_of(cursor).eof;
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int i) {
    const Cursor& c = cursor_of(cursor);
    if (i >= c.columns) {
        sqlite3_result_null(ctx);
    } else {
        // The cursor's copy of the batch stays unchanged until the cursor closes.
        sqlite3_result_text(ctx, c.values[i].data(), static_cast<int>(c.values[i].size()),
                            SQLITE_STATIC);
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* id) {
    *id = cursor_of(cursor).row;
    return SQLITE_OK;
}

sqlite3_module module() {
    sqlite3_module m{};  // eponymous only: used by name, never created as a table
    m.xConnect = connect;
    m.xBestIndex = best_index;
    m.xDisconnect = disconnect;
    m.xOpen = open_cursor;
    m.xClose = close_cursor;
    m.xFilter = filter;
    m.xNext = read_row;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

const sqlite3_module kModule = module();

}  // namespace

int register_bound_rows(sqlite3* db) {
    return sqlite3_create_module(db, "bound_rows", &kModule, nullptr);
}
