#include "runtime/screen/virtual_backend.h"

#include <cmath>
#include <string>

#include "runtime/screen/keys.h"

namespace rt {

VirtualBackend::VirtualBackend() {
    for (auto& row : shown_) row.fill(Cell{});
}

VirtualBackend& VirtualBackend::keys(std::initializer_list<int> codes) {
    for (int code : codes) script_.push_back({Step::kKey, code, 0});
    return *this;
}

VirtualBackend& VirtualBackend::type(std::string_view oem_text) {
    for (char ch : oem_text) script_.push_back({Step::kKey, static_cast<unsigned char>(ch), 0});
    return *this;
}

VirtualBackend& VirtualBackend::paste(std::string_view oem_text) {
    for (char ch : oem_text)
        script_.push_back({Step::kKey, key::pasted(static_cast<unsigned char>(ch)), 0});
    return *this;
}

VirtualBackend& VirtualBackend::pause(double seconds) {
    script_.push_back({Step::kPause, 0, seconds});
    return *this;
}

VirtualBackend& VirtualBackend::then(std::function<void()> action) {
    script_.push_back({Step::kAction, 0, 0, std::move(action)});
    return *this;
}

VirtualBackend& VirtualBackend::type_ahead(int code) {
    script_.push_back({Step::kTypeAhead, code, 0});
    return *this;
}

void VirtualBackend::set_local_time(const LocalTime& t) {
    start_ = t;
    elapsed_ = 0;
}

void VirtualBackend::present(const Grid& grid, const CursorState& cursor) {
    shown_ = grid;
    cursor_ = cursor;
}

std::optional<int> VirtualBackend::wait_key(std::optional<double> timeout) {
    const bool poll = timeout && *timeout <= 0;
    if (!poll) {
        ++waits_;
        snapshots_.push_back({shown_, cursor_});
    }
    double budget = timeout.value_or(INFINITY);
    while (!script_.empty()) {
        Step& step = script_.front();
        if (step.kind == Step::kAction) {
            if (poll) return std::nullopt;
            const std::function<void()> action = std::move(step.action);
            script_.pop_front();
            action();
            continue;
        }
        if (step.kind == Step::kPause) {
            if (poll) return std::nullopt;
            if (step.seconds > budget) {  // the wait ends before the user acts
                step.seconds -= budget;
                elapsed_ += budget;
                return std::nullopt;
            }
            budget -= step.seconds;
            elapsed_ += step.seconds;
            script_.pop_front();
            if (timeout && budget <= 0) return std::nullopt;  // the wait ran out exactly
            continue;
        }
        if (poll && step.kind != Step::kTypeAhead) return std::nullopt;
        int code = step.key;
        script_.pop_front();
        return code;
    }
    if (poll) return std::nullopt;
    if (!timeout) {
        throw ScriptExhausted("the program waits for a key the test script does not hold");
    }
    elapsed_ += *timeout;
    return std::nullopt;
}

LocalTime VirtualBackend::local_time() {
    // Whole days are not expected in a test; the clock only runs within the day.
    double total = start_.seconds_since_midnight() + elapsed_;
    long hundredths = std::lround(total * 100.0);
    LocalTime t = start_;
    t.hundredths = static_cast<int>(hundredths % 100);
    long seconds = hundredths / 100;
    t.second = static_cast<int>(seconds % 60);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.hour = static_cast<int>(seconds / 3600 % 24);
    return t;
}

}  // namespace rt
