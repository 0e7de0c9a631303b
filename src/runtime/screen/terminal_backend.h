#pragma once
// The real terminal: a UTF-8 xterm-style terminal (xterm, tmux, the Linux console ...) shows
// the 36 x 100 grid at its top left corner and delivers keys.
//
// Too small a window: while the terminal has fewer than 100 columns or 36 rows the grid is
// not drawn; a Spanish message asks for a bigger window instead. The program goes on as if
// nothing happened (frames are kept, timed waits run out as usual) but keys other than Esc
// are dropped; once the window is big enough the last frame is drawn in full. Esc at the
// message, or the terminal going away, calls the quit handler (set_quit_handler); by
// default it gives the terminal back and ends the program with std::exit(0). Too small at
// start, it also asks the terminal for 36 x 100 (xterm obeys; tmux ignores it).
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "runtime/screen/backend.h"
#include "runtime/screen/key_decoder.h"
#include "runtime/screen/terminal_frame.h"
#include "runtime/screen/terminal_session.h"

namespace rt {

inline constexpr int kMinTermRows = kRows;
inline constexpr int kMinTermCols = kCols;

class TerminalBackend final : public Backend {
  public:
    // Takes over the terminal on `in_fd` (keys, tty modes, size) writing to `out_fd`.
    // Throws std::runtime_error with a Spanish message when `in_fd` is not a terminal.
    // With `owns_fd`, `in_fd` (also `out_fd`) is closed when the backend ends.
    TerminalBackend(int in_fd, int out_fd, bool owns_fd = false);
    ~TerminalBackend() override;

    // Called when the user leaves from the too-small message with Esc or the terminal is
    // gone. It must not return (end the program, or throw in tests); if it does, the
    // program ends as by default.
    void set_quit_handler(std::function<void()> handler) { quit_ = std::move(handler); }
    // How long an ESC waits for the rest of a sequence before it counts as the Esc key.
    void set_esc_timeout(double seconds) { esc_timeout_ = seconds; }
    // How long the terminal must be quiet before an unfinished control string or paste is
    // closed (what follows is keys again). Longer than the Esc pause: a long reply or paste
    // may come in pieces over a slow link.
    void set_string_timeout(double seconds) { string_timeout_ = seconds; }
    std::size_t bytes_written() const { return bytes_written_; }
    bool too_small() const { return too_small_; }

    void present(const Grid& grid, const CursorState& cursor) override;
    std::optional<int> wait_key(std::optional<double> timeout_seconds) override;
    void tone(int hertz, int ticks) override;
    void set_title(const std::string& oem_text) override;
    double monotonic_seconds() override;
    LocalTime local_time() override;

  private:
    void check_size();
    void show_too_small(int rows, int cols);
    void draw();
    void write_out(const std::string& bytes);
    // Reads what the keyboard has; false when the terminal is gone.
    bool read_input();
    [[noreturn]] void quit();

    struct OwnedFd {
        int fd = -1;
        ~OwnedFd();
    } owned_;  // closed after the session has given the terminal back
    TerminalSession session_;
    FrameComposer composer_;
    KeyDecoder decoder_;
    Grid grid_{};
    CursorState cursor_{};
    bool have_frame_ = false;
    bool too_small_ = false;
    // The pause that decides what the decoder holds now.
    double pause_needed() const {
        return decoder_.inside_string() ? string_timeout_ : esc_timeout_;
    }
    double esc_timeout_ = 0.025;
    double string_timeout_ = 1.0;
    double last_input_ = -1;  // when the keyboard last gave bytes
    std::function<void()> quit_;
    std::string out_;
    std::size_t bytes_written_ = 0;
};

// The terminal of the program: stdin/stdout when both are terminals, else /dev/tty.
// Throws std::runtime_error (Spanish text) when there is no terminal.
std::unique_ptr<TerminalBackend> make_terminal_backend();

// The text shown instead of the grid while the window is too small, for a terminal of
// `rows` x `cols`.
std::string too_small_message(int rows, int cols);

}  // namespace rt
