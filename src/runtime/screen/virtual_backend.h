#pragma once
// A terminal for tests: keys come from a script, time is a virtual clock that only moves
// when the program waits, every key wait records a snapshot of the screen, and a wait for
// a key the script does not hold fails the test instead of hanging.
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/screen/backend.h"

namespace rt {

// Thrown when the program waits without limit for a key and the script is used up.
struct ScriptExhausted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class VirtualBackend : public Backend {
  public:
    struct Step {
        enum Kind { kKey, kTypeAhead, kPause, kAction } kind;
        int key = 0;
        double seconds = 0;
        std::function<void()> action = {};
    };
    struct Snapshot {
        Grid grid;
        CursorState cursor;
    };
    struct Tone {
        int hertz, ticks;
    };

    VirtualBackend();

    // --- script ---------------------------------------------------------------------
    VirtualBackend& keys(std::initializer_list<int> codes);  // one key per wait
    VirtualBackend& type(std::string_view oem_text);         // one key per byte
    VirtualBackend& paste(std::string_view oem_text);        // pasted on the terminal, per byte
    VirtualBackend& pause(double seconds);  // the user waits this long before the next key
    // Something that happens elsewhere (another user's change) once the program waits for
    // the next key, before that key comes.
    VirtualBackend& then(std::function<void()> action);
    // A key already pressed: also seen by polls (inkey() without waiting, next_key()).
    VirtualBackend& type_ahead(int code);
    bool script_empty() const { return script_.empty(); }
    std::size_t keys_left() const { return script_.size(); }

    // --- what the program did -------------------------------------------------------
    const Grid& screen() const { return shown_; }
    const CursorState& cursor() const { return cursor_; }
    const std::vector<Snapshot>& snapshots() const { return snapshots_; }
    const std::vector<Tone>& tones() const { return tones_; }
    void clear_tones() { tones_.clear(); }
    const std::string& title() const { return title_; }
    int waits() const { return waits_; }

    // The virtual clock: local time at the start and seconds elapsed since.
    void set_local_time(const LocalTime& t);
    void advance(double seconds) { elapsed_ += seconds; }

    // --- Backend --------------------------------------------------------------------
    void present(const Grid& grid, const CursorState& cursor) override;
    std::optional<int> wait_key(std::optional<double> timeout_seconds) override;
    void tone(int hertz, int ticks) override { tones_.push_back({hertz, ticks}); }
    void set_title(const std::string& oem_text) override { title_ = oem_text; }
    double monotonic_seconds() override { return elapsed_; }
    LocalTime local_time() override;
    void sleep(double seconds) override { elapsed_ += seconds; }

  private:
    std::deque<Step> script_;
    Grid shown_{};
    CursorState cursor_{};
    std::vector<Snapshot> snapshots_;
    std::vector<Tone> tones_;
    std::string title_;
    LocalTime start_{2026, 12, 6, 9, 0, 0, 0};
    double elapsed_ = 0;
    int waits_ = 0;
};

}  // namespace rt
