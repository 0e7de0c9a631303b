#pragma once
// The terminal taken over for the run: raw keyboard, alternate screen, extended keys,
// bracketed paste, hidden cursor. Whatever way the program ends, the user gets his terminal
// back as he left it: the destructor, an atexit hook, and a handler for every signal whose
// default action ends the process (SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGALRM, the crash
// signals, the real-time signals ...) all restore it; the signal then ends the program as it
// would have, so the exit status still tells what happened. SIGPIPE does not end the
// program: the write that met a closed pipe fails with EPIPE instead. One session at a time.

namespace rt {

class TerminalSession {
  public:
    // Pre: `in_fd` is a terminal. Throws std::runtime_error (Spanish text) when it is not,
    // or when another session is open.
    TerminalSession(int in_fd, int out_fd);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    int in_fd() const { return in_fd_; }
    int out_fd() const { return out_fd_; }
    // Readable after a window-size change (SIGWINCH); poll() it beside the keyboard.
    int wake_fd() const;
    // True once per window-size change; also empties wake_fd().
    bool take_resize();

  private:
    int in_fd_;
    int out_fd_;
};

// Gives the terminal back now: leaves the alternate screen, shows the cursor, ends extended
// keys and puts the saved tty modes back. Safe to call more than once, from a signal handler,
// and when no session is open. The emergency exit calls it before ending the program.
void restore_terminal() noexcept;

}  // namespace rt
