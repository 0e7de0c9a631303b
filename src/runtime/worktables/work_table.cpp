#include "runtime/worktables/work_table.h"

#include <algorithm>

#include "runtime/worktables/workspace.h"

namespace rt::wt {

namespace {

// The first 16 bytes of a key as two big-endian numbers, so that comparing the numbers
// compares the bytes.
std::uint64_t head_word(const std::string& key, std::size_t from) {
    std::uint64_t w = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        w = (w << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return w;
}

}  // namespace

WorkTable::Entry WorkTable::make_entry(std::string key, std::size_t recno) {
    Entry e;
    e.head0 = head_word(key, 0);
    e.head1 = head_word(key, 8);
    e.key = std::move(key);
    e.recno = static_cast<std::uint32_t>(recno);
    return e;
}

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
        order.entries.insert(make_entry(order.key.evaluate(records[i].values), i + 1));
}

bool WorkTable::create_index(std::string_view index_path, std::string_view key) {
    commit();
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
    commit();
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
    commit();
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
    pending_ = 0;
    file_->records.clear();
    for (Order& o : orders_) o.entries.clear();
    place_end();
    bof_ = true;
}

void WorkTable::append() {
    Record r;
    r.values.reserve(structure().size());
    for (const Field& f : structure()) r.values.push_back(blank_value(f));
    commit();
    file_->records.push_back(std::move(r));
    recno_ = file_->records.size();
    eof_ = bof_ = false;
    pending_ = recno_;
    pending_new_ = true;
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
    return o.entries.find(make_entry(o.key.evaluate(file_->records[recno_ - 1].values), recno_));
}

void WorkTable::go_top() {
    commit();
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
            place(e.recno);
            if (!hidden(e.recno)) return;
        }
    }
    place_end();
    bof_ = true;  // nothing visible: at both ends
}

void WorkTable::go_bottom() {
    commit();
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
            place(it->recno);
            if (!hidden(it->recno)) return;
        }
    }
    place_end();
    bof_ = true;
}

void WorkTable::go_to(std::size_t recno) {
    commit();
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
    commit();
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
                if (!hidden(probe->recno)) {
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
        recno_ = it->recno;
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
    commit();
    found_ = false;
    bof_ = false;
    if (order_ == 0) {
        place_end();
        return false;
    }
    const auto& entries = orders_[static_cast<std::size_t>(order_ - 1)].entries;
    for (auto it = entries.lower_bound(make_entry(std::string(key), 0)); it != entries.end();
         ++it) {
        ++reads_;
        if (hidden(it->recno)) continue;
        found_ = it->key.compare(0, key.size(), key) == 0;
        if (found_ || soft) {
            place(it->recno);
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
    if (pending_ != recno_) {
        commit();
        pending_ = recno_;
        pending_new_ = false;
        pending_keys_.clear();
        for (const Order& o : orders_) pending_keys_.push_back(o.key.evaluate(rec.values));
    }
    rec.values[static_cast<std::size_t>(position)] = std::move(v);
    return true;
}

void WorkTable::commit() {
    if (pending_ == 0) return;
    const auto recno = static_cast<std::uint32_t>(pending_);
    const Record& rec = file_->records[pending_ - 1];
    for (std::size_t i = 0; i < orders_.size(); ++i) {
        std::string key = orders_[i].key.evaluate(rec.values);
        if (pending_new_) {
            orders_[i].entries.insert(make_entry(std::move(key), recno));
        } else if (key != pending_keys_[i]) {
            orders_[i].entries.erase(make_entry(std::move(pending_keys_[i]), recno));
            orders_[i].entries.insert(make_entry(std::move(key), recno));
        }
    }
    pending_ = 0;
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
