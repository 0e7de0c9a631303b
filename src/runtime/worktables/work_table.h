#pragma once
// One open work table: its records, its orders (indexes) and its record pointer, reached
// through the alias under which it was opened. Records are kept in memory; each order is a
// sorted set of (key, record number), so appends and field changes keep it in key order at
// O(log n) and the browser can show the rows in key order at once.
//
// Field assignments go to the current record; its new keys take their place in the orders
// when the pointer next moves or an order is next used, so filling a record costs one
// placement per order, not one per field.
//
// Positioning follows the controlling order (or record-number order when there is none)
// and passes over records marked deleted while the workspace hides them. Past the last
// record the pointer stands on the "end" position (record count + 1) whose fields read
// blank; a skip back from the first record sets the beginning flag and stays on it.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/worktables/field.h"
#include "runtime/worktables/key_expression.h"

namespace rt::wt {

class Workspace;

struct Record {
    std::vector<Value> values;
    bool deleted = false;
};

// The contents of a table file: what create() makes and open() reads.
struct TableFile {
    Structure structure;
    std::vector<Record> records;
    bool open = false;  // opened exclusively by one work area
};

class WorkTable {
  public:
    WorkTable(Workspace& workspace, int area, std::string alias, std::string path,
              std::shared_ptr<TableFile> file);
    ~WorkTable();
    WorkTable(const WorkTable&) = delete;
    WorkTable& operator=(const WorkTable&) = delete;

    const std::string& alias() const { return alias_; }
    const std::string& path() const { return path_; }
    int area() const { return area_; }
    const Structure& structure() const { return file_->structure; }
    int field_pos(std::string_view name) const { return field_position(structure(), name); }

    // --- orders ---------------------------------------------------------------------
    // Builds an index on the key and makes it the only open order, controlling. The index
    // file's name is reserved like the table's. False when the key does not compile
    // against the structure or the name is taken (then nothing changes).
    bool create_index(std::string_view index_path, std::string_view key);
    // Builds a further index and adds it to the open orders (numbered in creation order)
    // without changing the controlling one.
    bool add_index(std::string_view index_path, std::string_view key);
    // Makes order n controlling (0: record-number order); an order that is not open is
    // ignored. The record pointer stays on its record.
    void set_order(int n);
    int order() const { return order_; }
    int order_count() const { return static_cast<int>(orders_.size()); }
    const std::string& order_key(int n) const;
    const std::vector<std::string>& index_paths() const { return index_paths_; }

    // --- records --------------------------------------------------------------------
    // Removes every record; the orders stay open and empty.
    void zap();
    // Adds a blank record at the end of the file and makes it current.
    void append();
    // Marks the current record deleted / takes the mark off.
    void mark_deleted();
    void recall();
    bool deleted() const;
    // Records in the file, deleted ones included.
    std::size_t rec_count() const { return file_->records.size(); }
    std::size_t recno() const { return recno_; }

    // --- positioning ----------------------------------------------------------------
    void go_top();
    void go_bottom();
    // Moves to record `recno` whatever its mark; out of range goes to the end position.
    void go_to(std::size_t recno);
    // Moves n visible records in the controlling order and returns how many it moved
    // (negative backwards; fewer than asked at either end). Forward past the last record
    // the pointer goes to the end position; back past the first it stays on the first and
    // sets bof().
    int skip(int n = 1);
    // Like skip(), but never leaves the visible records: stops on the first or last one.
    // Used by the browser, which asks how far it could go.
    int skip_within(int n);
    // Puts the pointer on a visible record when it is not on one (after the current record
    // was deleted, or at the end): the next one in order, else the previous one. False when
    // no record is visible.
    bool settle();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // Positions on the first visible record whose controlling key starts with `key` (or,
    // with `soft`, the first one above it when none does). Returns whether it was found.
    bool seek(std::string_view key, bool soft = false);
    bool found() const { return found_; }

    // --- fields of the current record (at the end position they read blank) -----------
    std::string text(std::string_view field) const;
    double number(std::string_view field) const;
    bool logical(std::string_view field) const;
    Fecha date(std::string_view field) const;
    const Value& value(int position) const;
    // Assignments are ignored at the end position and on an unknown field or type (a
    // programming slip that must not corrupt the record); they return false then.
    bool set_text(std::string_view field, std::string_view text);
    bool set_number(std::string_view field, double number);
    bool set_logical(std::string_view field, bool value);
    bool set_date(std::string_view field, Fecha value);
    bool set_value(int position, Value value);

    // --- instrumentation ------------------------------------------------------------
    // Records visited by positioning (each step of a skip, each go): what a disk table
    // would have read.
    std::uint64_t reads() const { return reads_; }
    void reset_reads() { reads_ = 0; }

  private:
    // One record in one order. Most comparisons end on the key's first bytes, held in the
    // entry itself, without reaching for the key text.
    struct Entry {
        std::uint64_t head0 = 0, head1 = 0;
        std::string key;
        std::uint32_t recno = 0;
        bool operator<(const Entry& o) const {
            if (head0 != o.head0) return head0 < o.head0;
            if (head1 != o.head1) return head1 < o.head1;
            if (int c = key.compare(o.key)) return c < 0;
            return recno < o.recno;
        }
    };
    static Entry make_entry(std::string key, std::size_t recno);
    struct Order {
        std::string path;
        KeyExpression key;
        std::set<Entry> entries;
    };
    using Iter = std::set<Entry>::const_iterator;

    bool hidden(std::size_t recno) const;
    const Record* current() const;
    std::optional<KeyExpression> compile_key(std::string_view key) const;
    void build(Order& order) const;
    // Position of the current record in the controlling order.
    Iter current_iter() const;
    void place(std::size_t recno);  // on a record (counts a read)
    void place_end();
    int step(int n, bool stay_within);
    // Brings the orders up to date with the record last assigned to.
    void commit();

    Workspace& workspace_;
    int area_;
    std::string alias_;
    std::string path_;
    std::shared_ptr<TableFile> file_;
    std::vector<Value> blank_record_;  // what the end position reads
    std::vector<Order> orders_;
    std::vector<std::string> index_paths_;
    int order_ = 0;
    std::size_t recno_ = 1;
    bool eof_ = true;
    bool bof_ = true;
    bool found_ = false;
    std::uint64_t reads_ = 0;
    // The record whose fields are being assigned: its keys are placed in the orders once,
    // when the pointer moves or an order is next used, not at every field.
    std::size_t pending_ = 0;
    bool pending_new_ = false;               // appended: not in the orders yet
    std::vector<std::string> pending_keys_;  // else: its keys as the orders hold them
};

}  // namespace rt::wt
