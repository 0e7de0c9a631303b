#pragma once
// Bytes from a terminal -> the program's key codes (keys.h). Pure: no I/O, no clock. The
// terminal feeds what read() gave and takes keys out; a byte run that may still be the start
// of a longer sequence (a lone ESC, half a UTF-8 letter) stays in the buffer until more bytes
// come or the terminal says that the pause after it was long enough (`at_end`).
//
// Decisions worth knowing:
//  - 0x0D is Enter (13); 0x0A (Ctrl+J, what most terminals send for Ctrl+Enter) is Ctrl+Enter
//    (10); the extended forms ESC[13;5u and ESC[27;5;13~ are Ctrl+Enter as well.
//  - 0x7F and 0x08 are both Backspace (8): terminals disagree on which one the Backspace key
//    sends, and Ctrl+H has no meaning of its own in the program. Ctrl+Backspace (127) needs
//    the extended forms ESC[127;5u / ESC[27;5;127~.
//  - Other control bytes keep their value, as Ctrl+letter did on the original keyboard:
//    Ctrl+C is 3 (PgDn), Ctrl+T 20, Ctrl+W 23 ...; NUL (Ctrl+Space) is ignored.
//  - Letters arrive as UTF-8 and become CP850 codes (ñ is 164); a byte that is not UTF-8 is
//    read as Latin-1, so a terminal left in a Latin-1 locale still types ñ. Characters with
//    no CP850 form, and any that would land on a control code, are ignored, never typed.
//  - Alt+key and every sequence the program has no code for are swallowed whole, mouse
//    reports included (X10 `ESC [ M` with its three raw bytes, SGR `ESC [ < ... M/m`, urxvt
//    `ESC [ b;x;y M`): a click never reads as a key.
//  - Control strings (OSC `ESC ]`, DCS `ESC P`, APC `ESC _`, PM `ESC ^`, SOS `ESC X`) are
//    dropped up to their end: BEL, ST (`ESC \`), CAN or SUB. Another ESC inside one cuts it
//    short and starts a key of its own, so an arrow or Esc always gets through; an
//    unterminated string ends at the first pause (`at_end`). A clipboard reply never types.
//  - A bracketed paste (`ESC[200~` ... `ESC[201~`) gives its printable characters as
//    key::pasted codes and drops everything else in it (Enter, Tab, escape sequences): what
//    is pasted can only ever be text, and the console hands it to text entry alone. A paste
//    whose end never comes ends at the first pause.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

struct DecodedKey {
    enum Kind {
        kKey,         // `key` holds a code; `length` bytes were used
        kIgnored,     // `length` bytes make something the program does not use
        kIncomplete,  // the bytes may be the start of a longer sequence: wait for more
        kString,      // `length` bytes open a control string: drop what follows to its end
        kPasteStart,  // ESC[200~
        kPasteEnd,    // ESC[201~
        kLongTail,    // `length` bytes of an overlong sequence: drop the rest as it comes
    } kind;
    int key = 0;
    std::size_t length = 0;
};

// Decodes the key at the start of `bytes` (not empty). With `at_end`, nothing more is coming
// soon, so an incomplete start is decided now (a lone ESC is Esc) and never kIncomplete.
DecodedKey decode_key(std::string_view bytes, bool at_end);

// A push-back buffer around decode_key that also follows control strings and pastes,
// however the reads cut them.
class KeyDecoder {
  public:
    void feed(std::string_view bytes) { buffer_.append(bytes); }
    // The next key; nullopt when the buffer is empty or holds only an incomplete start.
    // `at_end`: the terminal has been quiet long enough; an incomplete start is decided and
    // an open string or paste is closed.
    std::optional<int> next(bool at_end = false);
    // True when bytes wait for the rest of a sequence, or a string or paste is open (the
    // caller times the pause).
    bool pending() const { return !buffer_.empty() || mode_ != Mode::kKeys || in_tail_; }
    // True while a control string or a paste is open: the pause that closes it is longer
    // than the one that decides a lone ESC, since a long reply or paste may come in pieces.
    bool inside_string() const { return mode_ != Mode::kKeys; }
    void clear() {
        buffer_.clear();
        mode_ = Mode::kKeys;
        in_tail_ = false;
    }

  private:
    enum class Mode { kKeys, kString, kPaste };
    // Drops string bytes up to the string's end; false when the buffer ran out first.
    bool skip_string(bool at_end);
    // Drops the parameters and final byte of an overlong sequence; false when the buffer
    // ran out first.
    bool skip_tail(bool at_end);

    std::string buffer_;
    Mode mode_ = Mode::kKeys;
    bool in_tail_ = false;  // also inside a paste
};

}  // namespace rt
