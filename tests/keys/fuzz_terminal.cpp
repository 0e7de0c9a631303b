#include "keys/fuzz_terminal.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "runtime/screen/keys.h"
#include "runtime/screen/virtual_backend.h"
#include "support/screen_test.h"

namespace fuzz {
namespace {

using namespace rt::key;

// Keys given by one homing before the run is called a failure.
constexpr long kMaxHoming = 400;
// Calls to the terminal (draws, clock reads) without a key wait before the program is
// called stuck.
constexpr long kMaxCallsWithoutWait = 2'000'000;
constexpr std::size_t kRecentKeys = 40;

// What the homing sends, over and over: Esc leaves nearly everything; the exit question
// takes only S or N, the memo editor's "Abort Edit?" (after Esc) only Y. The probe follows
// every key that may have brought the main menu back.
constexpr int kHoming[] = {kProbe, kEsc, kProbe, kEsc, kProbe, kEsc, 'y', kProbe, 'n',
                           kProbe, kEsc, kProbe, 'N',  kProbe, kEsc, 's', kProbe};

// What xterm and tmux send for keys (see the platform notes), and some replies.
const char* const kSequences[] = {
    "\x1b[A",     "\x1b[B",     "\x1b[C",        "\x1b[D",      "\x1bOA",     "\x1bOB",
    "\x1b[H",     "\x1b[F",     "\x1bOH",        "\x1b[1~",     "\x1b[4~",    "\x1b[2~",
    "\x1b[3~",    "\x1b[5~",    "\x1b[6~",       "\x1b[5;5~",   "\x1b[6;5~",  "\x1b[1;5H",
    "\x1b[1;5F",  "\x1b[1;5C",  "\x1b[1;5D",     "\x1b[Z",      "\x1bOP",     "\x1bOQ",
    "\x1bOR",     "\x1bOS",     "\x1b[15~",      "\x1b[17~",    "\x1b[18~",   "\x1b[19~",
    "\x1b[20~",   "\x1b[21~",   "\x1b[23~",      "\x1b[24~",    "\x1b[23;5~", "\x1b[24;5~",
    "\x1b[24;3~", "\x1b[13;5u", "\x1b[27;5;13~", "\x1b[127;5u", "\x1bOM",     "\r",
    "\n",         "\t",         "\x7f",          "\x08",        "\x1b",       "\x03",
    "\x14",       "\x15",       "\x17",          "\x19",        "\x1b[I",     "\x1b[O",
    "\x1b[?1;2c", "\x1b[97;5u", "\x1bx",         "\x1b\x1b[A",  "\x1b[1;5A",
};

// Text as the terminal sends it: ASCII, the Spanish letters in UTF-8, the menu letters.
const char* const kWords[] = {"s",   "S",  "c", "C",   "i",   "o",   "e",        "l",
                              "d",   "n",  "y", "ss",  "123", "007", "operador", "ñandú",
                              "Año", "¿?", "€", "“x”", " ",   "0",   "99999999", "A00010001"};

std::string screen_text(const rt::Grid& grid) {
    std::string out;
    for (int r = 0; r < rt::kRows; ++r) out += testing_support::grid_row_text(grid, r) + "\n";
    return out;
}

}  // namespace

FuzzTerminal::FuzzTerminal(std::uint32_t seed, long keys) : rng_(seed), budget_(keys) {
    next_homing_ = pick(100, 1000);
}

void FuzzTerminal::present(const rt::Grid& grid, const rt::CursorState& cursor) {
    check_not_stuck();
    static_assert(std::tuple_size_v<rt::Grid> == 36 &&
                  std::tuple_size_v<rt::Grid::value_type> == 100);
    grid_ = grid;
    const bool shape_known = cursor.shape == 0 || cursor.shape == 1 || cursor.shape == 3;
    if (cursor.row < 0 || cursor.row >= rt::kRows || cursor.col < 0 || cursor.col > rt::kCols ||
        !shape_known)
        throw FuzzFailure("cursor out of the grid: " + std::to_string(cursor.row) + "," +
                          std::to_string(cursor.col) + " shape " + std::to_string(cursor.shape) +
                          "\n" + report());
    for (const auto& row : grid)
        for (const rt::Cell& cell : row)
            if (cell.ch == 0) throw FuzzFailure("a NUL byte on the screen\n" + report());
}

std::optional<int> FuzzTerminal::wait_key(std::optional<double> timeout) {
    calls_since_wait_ = 0;
    const bool poll = timeout && *timeout <= 0;
    if (figures_.keys >= budget_ && !homing_) {
        if (poll) return std::nullopt;
        // Used up: the run ends once the program has been brought home one last time.
        if (budget_ < 0) throw rt::ScriptExhausted("the fuzz keys are used up");
        budget_ = -1;
        start_homing();
    }
    if (!homing_ && figures_.keys >= next_homing_) start_homing();
    if (homing_) {
        if (timeout) {  // message boxes and the start-up window end by themselves
            clock_ += *timeout;
            figures_.timeouts += !poll;
            return std::nullopt;
        }
        if (homing_keys_ >= kMaxHoming)
            throw FuzzFailure("Esc keys did not bring the main menu back\n" + report());
        clock_ += 0.1;
        return give(homing_key());
    }
    if (poll) {  // a key typed ahead, now and then
        if (queue_.empty() || !chance(20)) return std::nullopt;
    } else if (timeout && chance(30)) {
        clock_ += *timeout;
        ++figures_.timeouts;
        return std::nullopt;
    }
    refill();
    clock_ += timeout ? *timeout * pick(0, 99) / 100.0 : 0.05;
    const int key = queue_.front();
    queue_.pop_front();
    return give(key);
}

int FuzzTerminal::give(int key) {
    ++figures_.keys;
    figures_.pasted += rt::key::is_pasted(key);
    recent_.push_back(key);
    if (recent_.size() > kRecentKeys) recent_.pop_front();
    return key;
}

void FuzzTerminal::start_homing() {
    homing_ = true;
    homing_keys_ = 0;
    queue_.clear();  // the user stops typing, and the terminal falls quiet
    decoder_.clear();
}

int FuzzTerminal::homing_key() {
    return kHoming[static_cast<std::size_t>(homing_keys_++) % std::size(kHoming)];
}

void FuzzTerminal::at_home() {
    if (!homing_) return;
    homing_ = false;
    ++figures_.homings;
    figures_.longest_homing = std::max(figures_.longest_homing, homing_keys_);
    next_homing_ = figures_.keys + pick(100, 1000);
    // Back at the menu, the user mostly goes on with an entry of his choice: entries 4 and
    // 8 have no letter of their own and would otherwise be rare.
    static const std::vector<int> kEntries[] = {
        {'c'}, {'D'}, {'i'}, {kHome, kDown, kDown, kDown, kEnter},
        {'L'}, {'o'}, {'E'}, {kEnd, kUp, kEnter},
        {'s'}};
    if (chance(80)) {
        const auto& entry = kEntries[pick(0, std::size(kEntries) - 1)];
        queue_.assign(entry.begin(), entry.end());
    }
}

void FuzzTerminal::check_not_stuck() {
    if (++calls_since_wait_ > kMaxCallsWithoutWait)
        throw FuzzFailure("the program goes on without ever waiting for a key\n" + report());
}

double FuzzTerminal::monotonic_seconds() {
    check_not_stuck();
    return clock_;
}

rt::LocalTime FuzzTerminal::local_time() {
    check_not_stuck();
    // The clock runs within one day, from 09:00.
    const long hundredths = std::lround((9 * 3600.0 + clock_) * 100.0);
    rt::LocalTime t{2026, 12, 6, 0, 0, 0, 0};
    t.hundredths = static_cast<int>(hundredths % 100);
    const long seconds = hundredths / 100;
    t.second = static_cast<int>(seconds % 60);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.hour = static_cast<int>(seconds / 3600 % 24);
    return t;
}

// Mostly the keys the program uses, the main menu's letters among them; sometimes pasted
// letters or any code at all.
int FuzzTerminal::random_code() {
    static const int kKeys[] = {kEnter,    kEsc,     kUp,       kDown,     kLeft,  kRight,
                                kHome,     kEnd,     kPgUp,     kPgDn,     kTab,   kShiftTab,
                                kF1,       kF2,      kF8,       kF10,      kDel,   kBackspace,
                                kIns,      kCtrlW,   kCtrlY,    kCtrlU,    kCtrlT, kCtrlEnter,
                                kCtrlHome, kCtrlEnd, kCtrlPgUp, kCtrlPgDn, kSpace, kCtrlBackspace};
    static const std::string kLetters = "cdiloeSsnNyY0123456789abAZ.-";
    const int roll = pick(0, 99);
    if (roll < 45) return kKeys[pick(0, std::size(kKeys) - 1)];
    const int letter = static_cast<unsigned char>(kLetters[pick(0, kLetters.size() - 1)]);
    if (roll < 80) return letter;
    if (roll < 90) return rt::key::pasted(letter);
    return pick(-60, 400);
}

std::string FuzzTerminal::random_bytes() {
    auto sequence = [&] { return std::string(kSequences[pick(0, std::size(kSequences) - 1)]); };
    auto word = [&] { return std::string(kWords[pick(0, std::size(kWords) - 1)]); };
    auto number = [&] { return std::to_string(pick(0, 300)); };
    const int roll = pick(0, 99);
    if (roll < 30) {
        std::string s;
        for (int i = pick(1, 3); i > 0; --i) s += sequence();
        return s;
    }
    if (roll < 40) {  // mouse reports: X10 with raw bytes, SGR, urxvt
        switch (pick(0, 2)) {
            case 0: {
                std::string s = "\x1b[M";
                for (int i = 0; i < 3; ++i) s += static_cast<char>(pick(chance(80) ? 32 : 0, 255));
                return s;
            }
            case 1:
                return "\x1b[<" + number() + ";" + number() + ";" + number() +
                       (chance(50) ? "M" : "m");
            default:
                return "\x1b[" + number() + ";" + number() + ";" + number() + "M";
        }
    }
    if (roll < 50) {  // terminal replies: OSC 52 and other control strings
        static const char* const kIntroducers[] = {"\x1b]52;c;", "\x1b]11;", "\x1bP",
                                                   "\x1b_",      "\x1b^",    "\x1bX"};
        static const char* const kEnds[] = {"\x07", "\x1b\\", "\x18", "", "\x1b[A"};
        std::string s = kIntroducers[pick(0, std::size(kIntroducers) - 1)];
        for (int i = pick(0, 6); i > 0; --i) s += chance(70) ? word() : "c3M=";
        return s + kEnds[pick(0, std::size(kEnds) - 1)];
    }
    if (roll < 65) {  // a paste, now and then with line ends, tabs, sequences, no end
        std::string s = "\x1b[200~";
        for (int i = pick(0, 5); i > 0; --i) {
            const int what = pick(0, 9);
            s += what < 6 ? word() : what < 8 ? std::string(chance(50) ? "\r" : "\t") : sequence();
        }
        return chance(90) ? s + "\x1b[201~" : s;
    }
    if (roll < 80) return word();
    // Fragments: the start of a sequence, or bytes of any kind.
    if (chance(50)) {
        const std::string s = sequence();
        return s.substr(0, pick(0, static_cast<int>(s.size())));
    }
    static const std::string kAlphabet =
        "\x1b[O;:<0123456789~uMP]_^X\\\x07\x18\r\n\x7f\xc3\xb1\x80 a";
    std::string s;
    for (int i = pick(1, 12); i > 0; --i)
        s +=
            chance(80) ? kAlphabet[pick(0, kAlphabet.size() - 1)] : static_cast<char>(pick(0, 255));
    return s;
}

// The bytes arrive in reads cut at random places; sometimes a pause follows.
void FuzzTerminal::feed(const std::string& bytes) {
    figures_.bytes += static_cast<long>(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = chance(70) ? bytes.size() - pos : pick(1, 4);
        decoder_.feed(std::string_view(bytes).substr(pos, length));
        pos += length;
        while (auto k = decoder_.next()) queue_.push_back(*k), ++figures_.decoded;
    }
    if (chance(60))
        while (auto k = decoder_.next(true)) queue_.push_back(*k), ++figures_.decoded;
}

void FuzzTerminal::refill() {
    while (queue_.empty()) {
        if (chance(55))
            queue_.push_back(random_code());
        else
            feed(random_bytes());
    }
}

std::string FuzzTerminal::report() const {
    std::string out = screen_text(grid_) + "last keys:";
    for (int k : recent_) out.append(" ").append(std::to_string(k));
    return out;
}

}  // namespace fuzz
