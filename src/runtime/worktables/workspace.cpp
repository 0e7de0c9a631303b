#include "runtime/worktables/workspace.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace rt::wt {

namespace fs = std::filesystem;

std::string native_path(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

namespace {

// Makes the empty file that holds the name; its folder is made when missing.
bool touch(const std::string& native) {
    std::error_code ec;
    fs::path p(native);
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out);
}

bool file_exists(const std::string& native) {
    std::error_code ec;
    return fs::exists(fs::path(native), ec);
}

}  // namespace

Workspace::~Workspace() {
    close_all();
}

bool Workspace::create(std::string_view path, const Structure& structure) {
    std::string native = native_path(path);
    if (native.empty() || structure.empty()) return false;
    if (auto it = tables_.find(native); it != tables_.end() && it->second->open) return false;
    if (indexes_.count(native)) return false;
    if (!touch(native)) return false;
    auto file = std::make_shared<TableFile>();
    file->structure = structure;
    tables_[native] = std::move(file);
    return true;
}

WorkTable* Workspace::open(std::string_view path, std::string_view alias) {
    auto it = tables_.find(native_path(path));
    if (it == tables_.end() || it->second->open || alias.empty() || area(alias)) return nullptr;
    int number = 1;
    while (areas_.count(number)) ++number;
    auto table =
        std::make_unique<WorkTable>(*this, number, std::string(alias), it->first, it->second);
    WorkTable* raw = table.get();
    areas_[number] = std::move(table);
    current_area_ = number;
    return raw;
}

WorkTable* Workspace::current() const {
    auto it = areas_.find(current_area_);
    return it == areas_.end() ? nullptr : it->second.get();
}

WorkTable* Workspace::area(std::string_view alias) const {
    for (const auto& [number, table] : areas_)
        if (same_name(table->alias(), alias)) return table.get();
    return nullptr;
}

void Workspace::close(std::string_view alias) {
    if (WorkTable* t = area(alias)) close_area(t->area());
}

void Workspace::close_area(int area) {
    areas_.erase(area);
}

void Workspace::close_all() {
    areas_.clear();
}

bool Workspace::erase(std::string_view path) {
    std::string native = native_path(path);
    if (auto it = tables_.find(native); it != tables_.end()) {
        if (it->second->open) return false;
        tables_.erase(it);
    }
    for (const auto& [number, table] : areas_)
        for (const std::string& index : table->index_paths())
            if (index == native) return false;
    indexes_.erase(native);
    if (!file_exists(native)) return false;
    std::error_code ec;
    return fs::remove(fs::path(native), ec);
}

bool Workspace::in_use(std::string_view path) const {
    std::string native = native_path(path);
    return tables_.count(native) || indexes_.count(native) || file_exists(native);
}

bool Workspace::reserve_index(const std::string& native) {
    if (native.empty() || tables_.count(native)) return false;
    for (const auto& [number, table] : areas_)
        for (const std::string& index : table->index_paths())
            if (index == native) return false;
    if (!touch(native)) return false;
    indexes_.insert(native);
    return true;
}

Workspace& workspace() {
    static Workspace the_workspace;
    return the_workspace;
}

}  // namespace rt::wt
