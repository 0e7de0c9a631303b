#include "runtime/worktables/work_table.h"

#include <algorithm>

#include "runtime/worktables/workspace.h"

namespace rt::wt {

WorkTable::WorkTable(Workspace& workspace, int area, std::string alias, std::string path,
                     std::shared_ptr<TableFile> file)
    : workspace_(workspace),
      area_(area),
      alias_(std::move(alias)),
      path_(std::move(path)),
      file_(std::move(file)) {
    file_->open = true;
    for (const Field& f : structure()) blank_record_.push_back(blank_value(f));
    go_top();
}

WorkTable::~WorkTable() {
    file_->open = false;
}

// --- orders -----------------------------------------------------------------------------

std::optional<KeyExpression> WorkTable::compile_key(std::string_view key) const {
    return KeyExpression::compile(key, structure());
}

void WorkTable::build(Order& order) const {
    order.entries.clear();
    const auto& records = file_->records;
    for (std::size_t i = 0; i < records.size(); ++i)
        order.entries.emplace_hint(order.entries.end(), order.key.evaluate(records[i].values),
                                   static_cast<std::uint32_t>(i + 1));
}

bool WorkTable::create_index(std::string_view index_path, std::string_view key) {
    auto compiled = compile_key(key);
    if (!compiled) return false;
    std::string native = native_path(index_path);
    bool own = std::find(index_paths_.begin(), index_paths_.end(), native) != index_paths_.end();
    if (!own && !workspace_.reserve_index(native)) return false;
    std::size_t at = recno_;
    orders_.clear();
    index_paths_.clear();
    orders_.push_back(Order{native, std::move(*compiled), {}});
    index_paths_.push_back(native);
    build(orders_.back());
    order_ = 1;
    go_to(at);
    return true;
}

bool WorkTable::add_index(std::string_view index_path, std::string_view key) {
    auto compiled = compile_key(key);
    if (!compiled) return false;
    std::string native = native_path(index_path);
    if (!workspace_.reserve_index(native)) return false;
    orders_.push_back(Order{native, std::move(*compiled), {}});
    index_paths_.push_back(native);
    build(orders_.back());
    if (order_ == 0) order_ = 1;
    return true;
}

void WorkTable::set_order(int n) {
    if (n < 0 || n > order_count()) return;
    order_ = n;
}

const std::string& WorkTable::order_key(int n) const {
    static const std::string none;
    if (n < 1 || n > order_count()) return none;
    return orders_[static_cast<std::size_t>(n - 1)].key.text();
}

// --- records ----------------------------------------------------------------------------

void WorkTable::zap() {
    file_->records.clear();
    for (Order& o : orders_) o.entries.clear();
    place_end();
    bof_ = true;
}

void WorkTable::append() {
    Record r;
    r.values.reserve(structure().size());
    for (const Field& f : structure()) r.values.push_back(blank_value(f));
    file_->records.push_back(std::move(r));
    auto recno = static_cast<std::uint32_t>(file_->records.size());
    for (Order& o : orders_) o.entries.emplace(o.key.evaluate(file_->records.back().values), recno);
    recno_ = recno;
    eof_ = bof_ = false;
}

void WorkTable::mark_deleted() {
    if (!eof_) file_->records[recno_ - 1].deleted = true;
}

void WorkTable::recall() {
    if (!eof_) file_->records[recno_ - 1].deleted = false;
}

bool WorkTable::deleted() const {
    return !eof_ && file_->records[recno_ - 1].deleted;
}

// --- positioning ------------------------------------------------------------------------

bool WorkTable::hidden(std::size_t recno) const {
    return workspace_.hide_deleted() && file_->records[recno - 1].deleted;
}

const Record* WorkTable::current() const {
    return eof_ ? nullptr : &file_->records[recno_ - 1];
}

void WorkTable::place(std::size_t recno) {
    recno_ = recno;
    eof_ = false;
    ++reads_;
}

void WorkTable::place_end() {
    recno_ = file_->records.size() + 1;
    eof_ = true;
}

WorkTable::Iter WorkTable::current_iter() const {
    const Order& o = orders_[static_cast<std::size_t>(order_ - 1)];
    return o.entries.find(Entry{o.key.evaluate(file_->records[recno_ - 1].values),
                                static_cast<std::uint32_t>(recno_)});
}

void WorkTable::go_top() {
    bof_ = false;
    found_ = false;
    const std::size_t count = file_->records.size();
    if (order_ == 0) {
        for (std::size_t r = 1; r <= count; ++r) {
            place(r);
            if (!hidden(r)) return;
        }
    } else {
        for (const Entry& e : orders_[static_cast<std::size_t>(order_ - 1)].entries) {
            place(e.second);
            if (!hidden(e.second)) return;
        }
    }
    place_end();
    bof_ = true;  // nothing visible: at both ends
}

void WorkTable::go_bottom() {
    bof_ = false;
    found_ = false;
    const std::size_t count = file_->records.size();
    if (order_ == 0) {
        for (std::size_t r = count; r >= 1; --r) {
            place(r);
            if (!hidden(r)) return;
        }
    } else {
        const auto& entries = orders_[static_cast<std::size_t>(order_ - 1)].entries;
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
            place(it->second);
            if (!hidden(it->second)) return;
        }
    }
    place_end();
    bof_ = true;
}

void WorkTable::go_to(std::size_t recno) {
    bof_ = false;
    if (recno >= 1 && recno <= file_->records.size())
        place(recno);
    else
        place_end();
}

int WorkTable::skip(int n) {
    return step(n, false);
}

int WorkTable::skip_within(int n) {
    return step(n, true);
}

int WorkTable::step(int n, bool stay_within) {
    bof_ = false;
    if (n == 0) return 0;
    if (eof_) {
        if (n > 0) return 0;
        // Back from the end position: the last visible record is one step.
        go_bottom();
        if (eof_) {
            bof_ = true;
            return 0;
        }
        return -1 + step(n + 1, stay_within);
    }
    const std::size_t count = file_->records.size();
    int moved = 0;
    if (order_ == 0) {
        std::size_t r = recno_;
        while (moved != n) {
            std::size_t probe = r;
            bool reached = false;
            while (true) {
                if (n > 0 ? probe >= count : probe <= 1) break;
                probe = n > 0 ? probe + 1 : probe - 1;
                ++reads_;
                if (!hidden(probe)) {
                    reached = true;
                    break;
                }
            }
            if (!reached) break;
            r = probe;
            moved += n > 0 ? 1 : -1;
        }
        if (moved != n && n > 0 && !stay_within) {
            place_end();
            return moved;
        }
        recno_ = r;
    } else {
        const auto& entries = orders_[static_cast<std::size_t>(order_ - 1)].entries;
        Iter it = current_iter();
        while (moved != n) {
            Iter probe = it;
            bool reached = false;
            while (true) {
                if (n > 0) {
                    if (std::next(probe) == entries.end()) break;
                    ++probe;
                } else {
                    if (probe == entries.begin()) break;
                    --probe;
                }
                ++reads_;
                if (!hidden(probe->second)) {
                    reached = true;
                    break;
                }
            }
            if (!reached) break;
            it = probe;
            moved += n > 0 ? 1 : -1;
        }
        if (moved != n && n > 0 && !stay_within) {
            place_end();
            return moved;
        }
        recno_ = it->second;
    }
    if (moved != n && n < 0) bof_ = !stay_within;
    return moved;
}

bool WorkTable::settle() {
    if (!eof_ && !hidden(recno_)) return true;
    if (!eof_) {
        // On a hidden record: the next visible one in order, else the previous one.
        std::size_t was = recno_;
        if (skip_within(1) == 1) return true;
        go_to(was);
        if (skip_within(-1) == -1) return true;
        go_top();
        return !eof_;
    }
    go_bottom();
    return !eof_;
}

bool WorkTable::seek(std::string_view key, bool soft) {
    found_ = false;
    bof_ = false;
    if (order_ == 0) {
        place_end();
        return false;
    }
    const auto& entries = orders_[static_cast<std::size_t>(order_ - 1)].entries;
    for (auto it = entries.lower_bound(Entry{std::string(key), 0}); it != entries.end(); ++it) {
        ++reads_;
        if (hidden(it->second)) continue;
        found_ = it->first.compare(0, key.size(), key) == 0;
        if (found_ || soft) {
            place(it->second);
            return found_;
        }
        break;
    }
    place_end();
    return false;
}

// --- fields -----------------------------------------------------------------------------

const Value& WorkTable::value(int position) const {
    static const Value none = std::string{};
    if (position < 0 || static_cast<std::size_t>(position) >= structure().size()) return none;
    if (const Record* r = current()) return r->values[static_cast<std::size_t>(position)];
    return blank_record_[static_cast<std::size_t>(position)];  // the end position
}

std::string WorkTable::text(std::string_view field) const {
    const Value& v = value(field_pos(field));
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

double WorkTable::number(std::string_view field) const {
    const Value& v = value(field_pos(field));
    if (auto* d = std::get_if<double>(&v)) return *d;
    return 0;
}

bool WorkTable::logical(std::string_view field) const {
    const Value& v = value(field_pos(field));
    if (auto* b = std::get_if<bool>(&v)) return *b;
    return false;
}

Fecha WorkTable::date(std::string_view field) const {
    const Value& v = value(field_pos(field));
    if (auto* d = std::get_if<Fecha>(&v)) return *d;
    return {};
}

bool WorkTable::set_value(int position, Value v) {
    if (eof_ || position < 0 || static_cast<std::size_t>(position) >= structure().size())
        return false;
    const Field& f = structure()[static_cast<std::size_t>(position)];
    Record& rec = file_->records[recno_ - 1];
    switch (f.type) {
        case FieldType::kCharacter:
            if (!std::holds_alternative<std::string>(v)) return false;
            v = fit_text(std::get<std::string>(v), f.width);
            break;
        case FieldType::kNumeric:
            if (!std::holds_alternative<double>(v)) return false;
            v = fit_number(std::get<double>(v), f.decimals);
            break;
        case FieldType::kLogical:
            if (!std::holds_alternative<bool>(v)) return false;
            break;
        case FieldType::kDate:
            if (!std::holds_alternative<Fecha>(v)) return false;
            break;
    }
    // Keys that depend on the field move to their new place in their order.
    std::vector<std::pair<std::size_t, std::string>> old_keys;
    for (std::size_t i = 0; i < orders_.size(); ++i)
        if (orders_[i].key.uses_field(position))
            old_keys.emplace_back(i, orders_[i].key.evaluate(rec.values));
    rec.values[static_cast<std::size_t>(position)] = std::move(v);
    const auto recno = static_cast<std::uint32_t>(recno_);
    for (auto& [i, old_key] : old_keys) {
        std::string new_key = orders_[i].key.evaluate(rec.values);
        if (new_key == old_key) continue;
        orders_[i].entries.erase(Entry{std::move(old_key), recno});
        orders_[i].entries.emplace(std::move(new_key), recno);
    }
    return true;
}

bool WorkTable::set_text(std::string_view field, std::string_view text) {
    return set_value(field_pos(field), std::string(text));
}

bool WorkTable::set_number(std::string_view field, double number) {
    return set_value(field_pos(field), number);
}

bool WorkTable::set_logical(std::string_view field, bool v) {
    return set_value(field_pos(field), v);
}

bool WorkTable::set_date(std::string_view field, Fecha v) {
    return set_value(field_pos(field), v);
}

}  // namespace rt::wt
