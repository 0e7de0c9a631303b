#pragma once
// The work areas of the program: the table files that operations create under temp/, the
// tables open in numbered areas under their aliases, and which area is current.
//
// Table contents live in memory; each table and index name is still made real as an empty
// file, so a name stays taken (for this run and for any other program looking at the
// folder) from its creation until it is erased, and the temporary-name routines, which
// test whether a file exists, never hand it out twice.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "runtime/worktables/field.h"
#include "runtime/worktables/work_table.h"

namespace rt::wt {

// Folder names may be written with the program's backslashes ("temp\"); on this system
// they are slashes.
std::string native_path(std::string_view path);

class Workspace {
  public:
    Workspace() = default;
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Whether records marked deleted are hidden from positioning and browsing (the
    // program-wide setting, on from start-up).
    bool hide_deleted() const { return hide_deleted_; }
    void set_hide_deleted(bool on) { hide_deleted_ = on; }

    // Creates an empty table file with the given fields (replacing a closed one of that
    // name). False when the file cannot be made or a table of that name is open.
    bool create(std::string_view path, const Structure& structure);
    // Opens the table exclusively in a free work area under the alias and makes that area
    // current. nullptr (the open-error flag) when there is no such table, it is already
    // open, or another open table has that alias.
    WorkTable* open(std::string_view path, std::string_view alias);

    WorkTable* current() const;
    int current_area() const { return current_area_; }
    // Makes the area current (an area that holds no table is allowed: current() is then
    // nullptr), as an operation does when it goes back to the area it remembered.
    void select(int area) { current_area_ = area; }
    WorkTable* area(std::string_view alias) const;
    std::size_t open_count() const { return areas_.size(); }

    // Closes the table and its indexes; its files stay until erased.
    void close(std::string_view alias);
    void close_area(int area);
    void close_all();

    // Removes a table or index file by name, after testing that it exists; an open table
    // or an index of one is not removed. Returns whether a file was removed.
    bool erase(std::string_view path);
    // Whether a table or index of that name exists (made by this workspace or on disk).
    bool in_use(std::string_view path) const;

    // For WorkTable: takes an index name (an empty file), or false when it is taken.
    bool reserve_index(const std::string& native);

  private:
    bool hide_deleted_ = true;
    std::map<std::string, std::shared_ptr<TableFile>> tables_;  // by native path
    std::set<std::string> indexes_;                             // by native path
    std::map<int, std::unique_ptr<WorkTable>> areas_;
    int current_area_ = 1;
};

// The work areas of the run.
Workspace& workspace();

}  // namespace rt::wt
