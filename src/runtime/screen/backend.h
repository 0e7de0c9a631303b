#pragma once
// What the screen layer needs from a terminal: show a grid, deliver keys, beep, set the
// title, tell the time. The real terminal and the virtual test terminal implement it.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "runtime/screen/colour.h"

namespace rt {

inline constexpr int kRows = 36;
inline constexpr int kCols = 100;

struct Cell {
    std::uint8_t ch = ' ';  // CP850
    Attr attr = 0x07;
    bool operator==(const Cell&) const = default;
};

using Grid = std::array<std::array<Cell, kCols>, kRows>;

struct CursorState {
    int row = 0;
    int col = 0;
    int shape = 0;  // 0 hidden, 1 underline, 3 block
};

// Local wall-clock time, to the hundredth of a second.
struct LocalTime {
    int year = 2026, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, hundredths = 0;
    double seconds_since_midnight() const {
        return hour * 3600.0 + minute * 60.0 + second + hundredths / 100.0;
    }
};

class Backend {
  public:
    virtual ~Backend() = default;
    // Bring the terminal in line with the grid and cursor. Called before every key wait.
    virtual void present(const Grid& grid, const CursorState& cursor) = 0;
    // Wait for one key: timeout nullopt waits without limit, 0 only polls. nullopt = none.
    virtual std::optional<int> wait_key(std::optional<double> timeout_seconds) = 0;
    virtual void tone(int hertz, int ticks) = 0;
    virtual void set_title(const std::string& oem_text) = 0;
    // Monotonic seconds, for waits and the spinner interval.
    virtual double monotonic_seconds() = 0;
    virtual LocalTime local_time() = 0;
    // Lets time pass without reading keys (a retry that must wait for the clock to move).
    virtual void sleep(double seconds) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }
};

}  // namespace rt
