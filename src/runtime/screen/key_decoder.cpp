// The grammar of what terminals send for keys: xterm/tmux CSI and SS3 sequences with
// modifier parameters, CSI u and modifyOtherKeys for the extended keys, UTF-8 text; and of
// what they send that is not a key: mouse reports, control strings, paste brackets.
#include "runtime/screen/key_decoder.h"

#include <array>

#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"

namespace rt {
namespace {

namespace k = rt::key;

constexpr unsigned char kEscByte = 0x1B;
constexpr unsigned char kBel = 0x07;
constexpr unsigned char kCan = 0x18;
constexpr unsigned char kSub = 0x1A;
// X10 mouse report: ESC [ M and three raw bytes (button, column, row).
constexpr std::size_t kX10Length = 6;
// A sequence that has not ended after this many bytes is noise, not a key.
constexpr std::size_t kMaxSequence = 64;

DecodedKey key_of(int code, std::size_t length) {
    return {DecodedKey::kKey, code, length};
}
DecodedKey ignored(std::size_t length) {
    return {DecodedKey::kIgnored, 0, length};
}
DecodedKey incomplete() {
    return {DecodedKey::kIncomplete, 0, 0};
}
DecodedKey marker(DecodedKey::Kind kind, std::size_t length) {
    return {kind, 0, length};
}
DecodedKey maybe_key(std::optional<int> code, std::size_t length) {
    return code ? key_of(*code, length) : ignored(length);
}

// xterm's modifier parameter: 1 + shift 1 + alt 2 + ctrl 4 (+ meta 8 ...). Caps Lock and
// Num Lock (64, 128 in the CSI u form) change nothing here.
struct Mods {
    bool shift = false, alt = false, ctrl = false, other = false;
    bool none() const { return !shift && !alt && !ctrl && !other; }
    bool only_ctrl() const { return ctrl && !shift && !alt && !other; }
    bool only_alt() const { return alt && !shift && !ctrl && !other; }
    bool at_most_shift() const { return !alt && !ctrl && !other; }
};

Mods mods_from(int param) {
    Mods m;
    if (param <= 1) return m;
    int bits = (param - 1) & ~(64 | 128);
    m.shift = bits & 1;
    m.alt = bits & 2;
    m.ctrl = bits & 4;
    m.other = bits & ~7;
    return m;
}

// Navigation keys keep their plain code under Shift; Ctrl has codes of its own for some.
enum class Nav { kUp, kDown, kRight, kLeft, kHome, kEnd, kPgUp, kPgDn, kIns, kDel };

std::optional<int> nav_code(Nav nav, Mods m) {
    static constexpr int kPlain[] = {k::kUp,  k::kDown, k::kRight, k::kLeft, k::kHome,
                                     k::kEnd, k::kPgUp, k::kPgDn,  k::kIns,  k::kDel};
    if (m.at_most_shift()) return kPlain[static_cast<int>(nav)];
    if (!m.only_ctrl()) return std::nullopt;
    switch (nav) {
        case Nav::kRight:
            return k::kCtrlRight;
        case Nav::kLeft:
            return k::kCtrlLeft;
        case Nav::kHome:
            return k::kCtrlHome;
        case Nav::kEnd:
            return k::kCtrlEnd;
        case Nav::kPgUp:
            return k::kCtrlPgUp;
        case Nav::kPgDn:
            return k::kCtrlPgDn;
        default:
            return std::nullopt;
    }
}

// F1 .. F12.
std::optional<int> function_code(int n, Mods m) {
    if (m.none()) {
        if (n == 1) return k::kF1;
        if (n <= 10) return -(n - 1);
        return n == 11 ? k::kF11 : k::kF12;
    }
    if (m.only_ctrl() && n == 11) return k::kCtrlF11;
    if (m.only_ctrl() && n == 12) return k::kCtrlF12;
    if (m.only_alt() && n == 12) return k::kAltF12;
    return std::nullopt;
}

// A character typed as text. Characters that CP850 lacks take their nearest form (a pasted
// curly quote types a straight one); none may become a control code or the redraw code.
std::optional<int> text_code(char32_t c) {
    if (c == 0xA0) return k::kSpace;
    int oem = cp::unicode_to_oem_nearest(c);
    if (oem < 0x20 || oem == 0x7F || oem == 0xFF) return std::nullopt;
    return oem;
}

// A key named by its character plus modifiers (CSI u, modifyOtherKeys). `shifted` is the
// character Shift makes of it when the terminal says so, else 0.
std::optional<int> character_key(int c, int shifted, Mods m) {
    switch (c) {
        case 13:
            return m.at_most_shift() ? std::optional(k::kEnter)
                   : m.only_ctrl()   ? std::optional(k::kCtrlEnter)
                                     : std::nullopt;
        case 9:
            return m.none()                                   ? std::optional(k::kTab)
                   : m.shift && !m.ctrl && !m.alt && !m.other ? std::optional(k::kShiftTab)
                                                              : std::nullopt;
        case 8:
        case 127:
            return m.at_most_shift() ? std::optional(k::kBackspace)
                   : m.only_ctrl()   ? std::optional(k::kCtrlBackspace)
                                     : std::nullopt;
        case 27:
            return m.at_most_shift() ? std::optional(k::kEsc) : std::nullopt;
        default:
            break;
    }
    if (c < 0x20 || c == 0x7F || c > 0x10FFFF) return std::nullopt;
    if (m.only_ctrl()) {
        if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
        if (c >= '@' && c <= '_' && c != '@') return c & 0x1F;  // Ctrl+T is 20 ...
        return std::nullopt;
    }
    if (!m.at_most_shift()) return std::nullopt;  // Alt+letter has no code
    if (m.shift) {
        if (shifted > 0)
            c = shifted;
        else if (c >= 'a' && c <= 'z')
            c -= 'a' - 'A';
    }
    return text_code(static_cast<char32_t>(c));
}

// The parameters of a CSI or SS3 sequence: up to eight groups, each up to three
// ':'-separated numbers; 0 where none was written.
struct Params {
    std::array<std::array<int, 3>, 8> v{};
    int count = 0;
    bool private_marker = false;  // '<' '=' '>' '?': replies and mouse reports, not keys
    int at(int group, int sub = 0) const { return group < count ? v[group][sub] : 0; }
};

// Reads parameter and intermediate bytes from `pos` up to the final byte. Returns the
// index of the final byte, or npos when the bytes end first. A broken sequence (a byte that
// cannot belong to it, or no end in sight) sets `broken` and returns how many bytes to drop.
enum class Scan { kFine, kBroken, kTooLong };  // kTooLong: its tail may still be coming
std::size_t scan_sequence(std::string_view s, std::size_t pos, Params& p, Scan& broken) {
    broken = Scan::kFine;
    int group = 0, sub = 0;
    bool any = false;
    for (std::size_t i = pos; i < s.size(); ++i) {
        if (i >= kMaxSequence) {
            // Noise: swallow the rest of its parameter bytes and its final byte, if here.
            while (i < s.size() && s[i] >= 0x20 && s[i] <= 0x3F) ++i;
            broken = i == s.size() ? Scan::kTooLong : Scan::kBroken;
            return i < s.size() && s[i] >= 0x40 && s[i] <= 0x7E ? i + 1 : i;
        }
        auto b = static_cast<unsigned char>(s[i]);
        if (b >= '0' && b <= '9') {
            any = true;
            int& slot = p.v[group][sub];
            if (slot < 100000000) slot = slot * 10 + (b - '0');
        } else if (b == ';') {
            any = true;
            if (group < 7) ++group;
            sub = 0;
        } else if (b == ':') {
            if (sub < 2) ++sub;
        } else if (b >= '<' && b <= '?') {
            p.private_marker = true;
        } else if (b >= 0x20 && b <= 0x2F) {
            // intermediate bytes: part of the sequence, meaningless for keys
        } else if (b >= 0x40 && b <= 0x7E) {
            p.count = any ? group + 1 : 0;
            return i;
        } else {
            broken = Scan::kBroken;
            return i;
        }
    }
    return std::string_view::npos;
}

DecodedKey dropped(Scan broken, std::size_t length, bool at_end) {
    if (broken == Scan::kTooLong && !at_end) return marker(DecodedKey::kLongTail, length);
    return ignored(length);
}

// Letters that end both CSI and SS3 key sequences: arrows, Home/End, F1-F4, keypad Enter.
std::optional<int> letter_key(unsigned char final, Mods m) {
    switch (final) {
        case 'A':
            return nav_code(Nav::kUp, m);
        case 'B':
            return nav_code(Nav::kDown, m);
        case 'C':
            return nav_code(Nav::kRight, m);
        case 'D':
            return nav_code(Nav::kLeft, m);
        case 'H':
            return nav_code(Nav::kHome, m);
        case 'F':
            return nav_code(Nav::kEnd, m);
        case 'P':
            return function_code(1, m);
        case 'Q':
            return function_code(2, m);
        case 'R':
            return function_code(3, m);
        case 'S':
            return function_code(4, m);
        case 'M':
            return m.at_most_shift() ? std::optional(k::kEnter) : std::nullopt;
        case 'Z':
            return m.at_most_shift() ? std::optional(k::kShiftTab) : std::nullopt;
        default:
            return std::nullopt;
    }
}

// ESC [ n ; m ~
std::optional<int> tilde_key(const Params& p) {
    Mods m = mods_from(p.at(1));
    int n = p.at(0);
    switch (n) {
        case 1:
        case 7:
            return nav_code(Nav::kHome, m);
        case 4:
        case 8:
            return nav_code(Nav::kEnd, m);
        case 2:
            return nav_code(Nav::kIns, m);
        case 3:
            return nav_code(Nav::kDel, m);
        case 5:
            return nav_code(Nav::kPgUp, m);
        case 6:
            return nav_code(Nav::kPgDn, m);
        case 27:
            return character_key(p.at(2), 0, m);  // modifyOtherKeys
        default:
            break;
    }
    if (n >= 11 && n <= 15) return function_code(n - 10, m);
    if (n >= 17 && n <= 21) return function_code(n - 11, m);
    if (n == 23 || n == 24) return function_code(n - 12, m);
    return std::nullopt;
}

// Pre: bytes start with ESC '['.
DecodedKey decode_csi(std::string_view s, bool at_end) {
    if (s.size() >= 3 && s[2] == '[') {  // Linux console F1-F5: ESC [ [ A..E
        if (s.size() < 4) return at_end ? ignored(s.size()) : incomplete();
        auto c = static_cast<unsigned char>(s[3]);
        if (c >= 'A' && c <= 'E') return maybe_key(function_code(c - 'A' + 1, {}), 4);
        return ignored(3);
    }
    if (s.size() >= 3 && s[2] == 'M') {  // X10 mouse report: its bytes may be anything
        if (s.size() < kX10Length) return at_end ? ignored(s.size()) : incomplete();
        return ignored(kX10Length);
    }
    Params p;
    Scan broken;
    std::size_t end = scan_sequence(s, 2, p, broken);
    if (end == std::string_view::npos) return at_end ? ignored(s.size()) : incomplete();
    if (broken != Scan::kFine) return dropped(broken, end, at_end);
    std::size_t length = end + 1;
    auto final = static_cast<unsigned char>(s[end]);
    // SGR mouse reports carry '<', other replies '?' or '>'; urxvt mouse reports end in M.
    if (p.private_marker || final == 'M') return ignored(length);
    switch (final) {
        case '~':
            if (p.count == 1 && p.at(0) == 200) return marker(DecodedKey::kPasteStart, length);
            if (p.count == 1 && p.at(0) == 201) return marker(DecodedKey::kPasteEnd, length);
            return maybe_key(tilde_key(p), length);
        case '^': {  // rxvt: Ctrl with the ~ keys
            Params ctrl = p;
            ctrl.v[1][0] = 5;
            ctrl.count = 2;
            return maybe_key(tilde_key(ctrl), length);
        }
        case 'u':
            return maybe_key(character_key(p.at(0), p.at(0, 1), mods_from(p.at(1))), length);
        default:
            return maybe_key(letter_key(final, mods_from(p.at(1))), length);
    }
}

// Pre: bytes start with ESC 'O'.
DecodedKey decode_ss3(std::string_view s, bool at_end) {
    Params p;
    Scan broken;
    std::size_t end = scan_sequence(s, 2, p, broken);
    if (end == std::string_view::npos) return at_end ? ignored(s.size()) : incomplete();
    if (broken != Scan::kFine) return dropped(broken, end, at_end);
    auto final = static_cast<unsigned char>(s[end]);
    // Some terminals put the modifier as the only parameter (ESC O 5 P).
    Mods m = mods_from(p.count >= 2 ? p.at(1) : p.at(0));
    if (final >= 'j' && final <= 'y' && m.none()) {  // application keypad
        static constexpr char kKeypad[] = "*+,-./0123456789";
        return key_of(kKeypad[final - 'j'], end + 1);
    }
    if (final == 'X' && m.none()) return key_of('=', end + 1);
    return maybe_key(letter_key(final, m), end + 1);
}

// Pre: bytes start with ESC.
DecodedKey decode_escape(std::string_view s, bool at_end) {
    if (s.size() == 1) return at_end ? key_of(k::kEsc, 1) : incomplete();
    auto next = static_cast<unsigned char>(s[1]);
    if (next == '[') return decode_csi(s, at_end);
    if (next == 'O') return decode_ss3(s, at_end);
    // OSC, DCS, APC, PM, SOS: a string follows.
    if (next == ']' || next == 'P' || next == '_' || next == '^' || next == 'X')
        return marker(DecodedKey::kString, 2);
    if (next == kEscByte) {
        // ESC ESC [ ... is Alt with a key sequence; otherwise the first ESC is Esc.
        if (s.size() == 2 && !at_end) return incomplete();
        if (s.size() > 2 && (s[2] == '[' || s[2] == 'O')) {
            DecodedKey inner = decode_escape(s.substr(1), at_end);
            if (inner.kind == DecodedKey::kIncomplete) return inner;
            return ignored(1 + inner.length);
        }
        return key_of(k::kEsc, 1);
    }
    if (next < 0x80) return ignored(2);  // Alt+character or Alt+control key
    char32_t c;
    int n = cp::decode_utf8(s.substr(1), c);
    if (n == 0) return at_end ? ignored(s.size()) : incomplete();
    return ignored(1 + static_cast<std::size_t>(n));
}

// Inside a paste only printable text counts, and only as pasted text: an Enter, a Tab or
// an escape sequence in the pasted bytes does nothing.
std::optional<int> pasted_key(const DecodedKey& d, bool from_text) {
    if (!from_text || !k::is_printable(d.key)) return std::nullopt;
    return k::pasted(d.key);
}

}  // namespace

DecodedKey decode_key(std::string_view s, bool at_end) {
    auto b = static_cast<unsigned char>(s[0]);
    switch (b) {
        case kEscByte:
            return decode_escape(s, at_end);
        case 0x0D:
            return key_of(k::kEnter, 1);
        case 0x0A:
            return key_of(k::kCtrlEnter, 1);
        case 0x7F:
        case 0x08:
            return key_of(k::kBackspace, 1);
        case 0x00:
            return ignored(1);
        default:
            break;
    }
    if (b < 0x80) return key_of(b, 1);  // text, Tab and the other Ctrl+letter codes
    char32_t c;
    int n = cp::decode_utf8(s, c);
    if (n == 0 && !at_end) return incomplete();
    if (n == 0 && s.size() > 1) return ignored(s.size());  // UTF-8 cut short for good
    if (n <= 1) {
        // Not UTF-8: the byte itself, read as Latin-1.
        return b >= 0xA0 ? maybe_key(text_code(b), 1) : ignored(1);
    }
    return maybe_key(text_code(c), static_cast<std::size_t>(n));
}

std::optional<int> KeyDecoder::next(bool at_end) {
    for (;;) {
        if (mode_ == Mode::kString && !skip_string(at_end)) return std::nullopt;
        if (in_tail_ && !skip_tail(at_end)) return std::nullopt;
        if (buffer_.empty()) {
            if (at_end) mode_ = Mode::kKeys;  // a paste whose end never came
            return std::nullopt;
        }
        const bool from_text = static_cast<unsigned char>(buffer_[0]) != kEscByte;
        DecodedKey d = decode_key(buffer_, at_end);
        if (d.kind == DecodedKey::kIncomplete) return std::nullopt;
        buffer_.erase(0, d.length);
        switch (d.kind) {
            case DecodedKey::kKey:
                if (mode_ == Mode::kKeys) return d.key;
                if (auto k = pasted_key(d, from_text)) return k;
                break;
            case DecodedKey::kString:
                if (mode_ == Mode::kKeys) mode_ = Mode::kString;  // in a paste: text
                break;
            case DecodedKey::kPasteStart:
                mode_ = Mode::kPaste;
                break;
            case DecodedKey::kPasteEnd:
                if (mode_ == Mode::kPaste) mode_ = Mode::kKeys;
                break;
            case DecodedKey::kLongTail:
                in_tail_ = true;
                break;
            default:
                break;
        }
    }
}

bool KeyDecoder::skip_tail(bool at_end) {
    std::size_t i = 0;
    while (i < buffer_.size() && buffer_[i] >= 0x20 && buffer_[i] <= 0x3F) ++i;
    if (i == buffer_.size() && !at_end) {
        buffer_.clear();
        return false;
    }
    if (i < buffer_.size() && buffer_[i] >= 0x40 && buffer_[i] <= 0x7E) ++i;  // its final byte
    buffer_.erase(0, i);
    in_tail_ = false;
    return true;
}

bool KeyDecoder::skip_string(bool at_end) {
    for (std::size_t i = 0; i < buffer_.size(); ++i) {
        const auto b = static_cast<unsigned char>(buffer_[i]);
        if (b == kBel || b == kCan || b == kSub) {  // BEL ends it; CAN and SUB cancel it
            buffer_.erase(0, i + 1);
            mode_ = Mode::kKeys;
            return true;
        }
        if (b != kEscByte) continue;
        if (i + 1 == buffer_.size() && !at_end) {  // perhaps the first half of ST
            buffer_.erase(0, i);
            return false;
        }
        // ST ends the string; any other ESC cuts it short and begins a key of its own.
        const bool st = i + 1 < buffer_.size() && buffer_[i + 1] == '\\';
        buffer_.erase(0, st ? i + 2 : i);
        mode_ = Mode::kKeys;
        return true;
    }
    buffer_.clear();
    if (at_end) mode_ = Mode::kKeys;
    return at_end;
}

}  // namespace rt
