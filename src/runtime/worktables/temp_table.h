#pragma once
// A work table for the length of one operation, in the order every operation goes
// through: create the file, open it under its alias, build its index or indexes; and at
// the end (or when the operation leaves early) close it and erase the table file and every
// index file that was made, each only if it exists.
//
//     rt::wt::TempTable vales;
//     if (!vales.open(folder + ui::NOMARCH2("dbf"), ui::tablas::vales(), "VALES")) {
//         ui::MSGBOX(ui::tablas::kValesOpenError);
//         return;
//     }
//     vales.index(folder + ui::NOMARCH2("ntx"), ui::tablas::kValesKey);
#include <string>
#include <string_view>
#include <vector>

#include "runtime/worktables/workspace.h"

namespace rt::wt {

class TempTable {
  public:
    explicit TempTable(Workspace& ws = workspace()) : ws_(ws) {}
    ~TempTable() { close_and_erase(); }
    TempTable(const TempTable&) = delete;
    TempTable& operator=(const TempTable&) = delete;

    // Creates the table and opens it in a free area under the alias, which becomes the
    // current area. False when it cannot be opened (the caller shows its message); the
    // file made is erased all the same at the end.
    bool open(std::string_view path, const Structure& structure, std::string_view alias);
    // The first index becomes the controlling order; further ones are added as orders
    // 2, 3 ... without changing it.
    bool index(std::string_view path, std::string_view key);

    WorkTable* table() const { return table_; }
    WorkTable* operator->() const { return table_; }
    WorkTable& operator*() const { return *table_; }
    explicit operator bool() const { return table_ != nullptr; }
    const std::vector<std::string>& files() const { return files_; }

    // Closes the table and erases its files now.
    void close_and_erase();

  private:
    Workspace& ws_;
    WorkTable* table_ = nullptr;
    std::string alias_;
    std::vector<std::string> files_;
};

}  // namespace rt::wt
