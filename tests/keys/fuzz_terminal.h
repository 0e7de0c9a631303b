#pragma once
// A terminal for the fuzz run: the program's key waits are answered at random, partly with
// key codes, partly with raw terminal bytes (key sequences, their fragments, mouse reports,
// terminal replies, pastes) decoded by the real key decoder. Time is virtual. Now and then
// the terminal goes "home": it sends Esc (and the answers a question that ignores Esc
// needs) with a probe key between them, until the program's main menu reports the probe
// through its key handler; the program must get there within a bounded number of keys.
//
// It never hangs: once its keys are used up (and it is home), a wait throws
// rt::ScriptExhausted, and a program that goes on drawing without ever asking for a key
// again is stopped with FuzzFailure.
#include <cstdint>
#include <deque>
#include <random>
#include <stdexcept>
#include <string>

#include "runtime/screen/backend.h"
#include "runtime/screen/key_decoder.h"

namespace fuzz {

// An invariant broken: the text says which, with the screen and the last keys.
struct FuzzFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Only the homing sends it; the test's key handler hears it at the main menu.
inline constexpr int kProbe = 0x7000;

struct Figures {
    long keys = 0;            // keys given to the program, homing keys included
    long decoded = 0;         // of which came out of the key decoder
    long pasted = 0;          // of which were pasted text
    long bytes = 0;           // raw bytes fed to the decoder
    long timeouts = 0;        // timed waits that ran out
    long homings = 0;         // returns to the main menu
    long longest_homing = 0;  // keys the longest one took
};

class FuzzTerminal : public rt::Backend {
  public:
    FuzzTerminal(std::uint32_t seed, long keys);

    // The main menu heard the probe.
    void at_home();
    const Figures& figures() const { return figures_; }
    const rt::Grid& screen() const { return grid_; }
    // The screen as UTF-8 lines and the last keys given, for failure messages.
    std::string report() const;

    void present(const rt::Grid& grid, const rt::CursorState& cursor) override;
    std::optional<int> wait_key(std::optional<double> timeout_seconds) override;
    void tone(int, int) override {}
    void set_title(const std::string&) override {}
    double monotonic_seconds() override;
    rt::LocalTime local_time() override;
    void sleep(double seconds) override { clock_ += seconds; }

  private:
    bool chance(int percent) { return static_cast<int>(rng_() % 100) < percent; }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    int random_code();
    std::string random_bytes();
    void feed(const std::string& bytes);
    void refill();
    int give(int key);
    int homing_key();
    void start_homing();
    void check_not_stuck();

    std::mt19937 rng_;
    long budget_;
    rt::KeyDecoder decoder_;
    std::deque<int> queue_;
    std::deque<int> recent_;  // the last keys given, newest last
    rt::Grid grid_{};
    double clock_ = 0;
    long calls_since_wait_ = 0;
    bool homing_ = false;
    long homing_keys_ = 0;
    long next_homing_ = 0;  // keys given when the next homing starts
    Figures figures_;
};

}  // namespace fuzz
