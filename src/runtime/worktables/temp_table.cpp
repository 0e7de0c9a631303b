#include "runtime/worktables/temp_table.h"

namespace rt::wt {

bool TempTable::open(std::string_view path, const Structure& structure, std::string_view alias) {
    close_and_erase();
    if (ws_.create(path, structure)) files_.push_back(native_path(path));
    table_ = ws_.open(path, alias);
    alias_ = std::string(alias);
    return table_ != nullptr;
}

bool TempTable::index(std::string_view path, std::string_view key) {
    if (!table_) return false;
    bool made =
        table_->order_count() == 0 ? table_->create_index(path, key) : table_->add_index(path, key);
    if (made) files_.push_back(native_path(path));
    return made;
}

void TempTable::close_and_erase() {
    // The table may already be closed by someone else (the exit routine closes all).
    if (table_ && ws_.area(alias_) == table_) ws_.close_area(table_->area());
    table_ = nullptr;
    for (const std::string& f : files_) ws_.erase(f);
    files_.clear();
}

}  // namespace rt::wt
