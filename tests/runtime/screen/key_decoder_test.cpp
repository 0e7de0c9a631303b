#include "runtime/screen/key_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/screen/keys.h"

namespace {

using namespace rt::key;

struct Case {
    std::string bytes;
    std::vector<int> keys;
};

// Everything decodable from `bytes`, deciding a trailing incomplete start as after a pause.
std::vector<int> decode_all(const std::string& bytes) {
    rt::KeyDecoder d;
    d.feed(bytes);
    std::vector<int> keys;
    while (auto k = d.next()) keys.push_back(*k);
    while (auto k = d.next(true)) keys.push_back(*k);
    EXPECT_FALSE(d.pending()) << "bytes left after the pause";
    return keys;
}

// The same bytes arriving one read per byte, with no pause until the last one.
std::vector<int> decode_byte_by_byte(const std::string& bytes) {
    rt::KeyDecoder d;
    std::vector<int> keys;
    for (char b : bytes) {
        d.feed(std::string_view(&b, 1));
        while (auto k = d.next()) keys.push_back(*k);
    }
    while (auto k = d.next(true)) keys.push_back(*k);
    EXPECT_FALSE(d.pending()) << "bytes left after the pause";
    return keys;
}

void check(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        std::string shown;
        for (unsigned char b : c.bytes) shown += std::to_string(b) + " ";
        EXPECT_EQ(decode_all(c.bytes), c.keys) << "bytes: " << shown;
        EXPECT_EQ(decode_byte_by_byte(c.bytes), c.keys) << "one read per byte: " << shown;
    }
}

TEST(KeyDecoder, SingleBytes) {
    check({
        {"a", {'a'}},
        {"Z", {'Z'}},
        {" ", {kSpace}},
        {"\r", {kEnter}},
        {"\n", {kCtrlEnter}},
        {"\t", {kTab}},
        {"\x7f", {kBackspace}},
        {"\x08", {kBackspace}},
        {"\x03", {kPgDn}},   // Ctrl+C
        {"\x14", {kCtrlT}},  // Ctrl+T
        {"\x15", {kCtrlU}},
        {"\x17", {kCtrlW}},
        {"\x19", {kCtrlY}},
        {"\x13", {kLeft}},  // Ctrl+S, as on the original keyboard
        {std::string(1, '\0'), {}},
        {"\x1b", {kEsc}},
    });
}

// What xterm and tmux send for the keys the program uses (measured sequences).
TEST(KeyDecoder, TerminalSequences) {
    check({
        {"\x1b[A", {kUp}},           {"\x1b[B", {kDown}},        {"\x1b[C", {kRight}},
        {"\x1b[D", {kLeft}},         {"\x1bOA", {kUp}},          {"\x1bOB", {kDown}},
        {"\x1bOC", {kRight}},        {"\x1bOD", {kLeft}},        {"\x1b[H", {kHome}},
        {"\x1b[F", {kEnd}},          {"\x1bOH", {kHome}},        {"\x1bOF", {kEnd}},
        {"\x1b[1~", {kHome}},        {"\x1b[4~", {kEnd}},        {"\x1b[7~", {kHome}},
        {"\x1b[8~", {kEnd}},         {"\x1b[2~", {kIns}},        {"\x1b[3~", {kDel}},
        {"\x1b[5~", {kPgUp}},        {"\x1b[6~", {kPgDn}},       {"\x1b[5;5~", {kCtrlPgUp}},
        {"\x1b[6;5~", {kCtrlPgDn}},  {"\x1b[1;5H", {kCtrlHome}}, {"\x1b[1;5F", {kCtrlEnd}},
        {"\x1b[1;5C", {kCtrlRight}}, {"\x1b[1;5D", {kCtrlLeft}}, {"\x1b[Z", {kShiftTab}},
        {"\x1bOP", {kF1}},           {"\x1bOQ", {kF2}},          {"\x1bOR", {kF3}},
        {"\x1bOS", {kF4}},           {"\x1b[15~", {kF5}},        {"\x1b[17~", {kF6}},
        {"\x1b[18~", {kF7}},         {"\x1b[19~", {kF8}},        {"\x1b[20~", {kF9}},
        {"\x1b[21~", {kF10}},        {"\x1b[23~", {kF11}},       {"\x1b[24~", {kF12}},
        {"\x1b[23;5~", {kCtrlF11}},  {"\x1b[24;5~", {kCtrlF12}}, {"\x1b[24;3~", {kAltF12}},
        {"\x1bOM", {kEnter}},        {"\x1b[11~", {kF1}},        {"\x1b[12~", {kF2}},
        {"\x1b[[A", {kF1}},          {"\x1b[[E", {kF5}},         {"\x1b[1;2A", {kUp}},
        {"\x1b[5^", {kCtrlPgUp}},    {"\x1bOp", {'0'}},          {"\x1bOk", {'+'}},
    });
}

TEST(KeyDecoder, ExtendedKeys) {
    check({
        {"\x1b[13;5u", {kCtrlEnter}},     // tmux CSI u
        {"\x1b[27;5;13~", {kCtrlEnter}},  // xterm modifyOtherKeys
        {"\x1b[127;5u", {kCtrlBackspace}},
        {"\x1b[27;5;127~", {kCtrlBackspace}},
        {"\x1b[13u", {kEnter}},
        {"\x1b[127u", {kBackspace}},
        {"\x1b[9;2u", {kShiftTab}},
        {"\x1b[27u", {kEsc}},
        {"\x1b[116;5u", {kCtrlT}},
        {"\x1b[27;5;119~", {kCtrlW}},
        {"\x1b[97;2u", {'A'}},
        {"\x1b[49:33;2u", {'!'}},  // Shift+1 with its shifted form given
        {"\x1b[241u", {164}},      // ñ
        {"\x1b[97;3u", {}},        // Alt+a has no code
        {"\x1b[97;9u", {}},        // Super+a
        {"\x1b[97;65u", {'a'}},    // Caps Lock changes nothing
    });
}

TEST(KeyDecoder, Utf8LettersBecomeCp850Codes) {
    check({
        {"ñ", {164}},
        {"Ñ", {165}},
        {"á", {160}},
        {"é", {130}},
        {"í", {161}},
        {"ó", {162}},
        {"ú", {163}},
        {"ü", {129}},
        {"¿", {168}},
        {"¡", {173}},
        {"°", {248}},
        {"año", {'a', 164, 'o'}},
        {"\xf1", {164}},  // Latin-1 ñ from a terminal in a Latin-1 locale
        {"\xf1"
         "a",
         {164, 'a'}},
        {"\x80", {}},              // a stray continuation byte types nothing
        {"“x”", {'"', 'x', '"'}},  // pasted curly quotes
        {"€", {'E'}},
        {"\u00a0", {kSpace}},  // never the redraw code 255
        {"•", {}},             // would be control code 7 (Del)
        {"→", {}},
        {"😀", {}},
        {"\xe2\x82", {}},  // cut short
    });
}

TEST(KeyDecoder, SeveralKeysInOneRead) {
    check({
        {"ab\r", {'a', 'b', kEnter}},
        {"\x1b[A\x1b[B\x1b[19~x", {kUp, kDown, kF8, 'x'}},
        {"\x1b[13;5u\x1b[D", {kCtrlEnter, kLeft}},
        {"1\x1bOP2", {'1', kF1, '2'}},
        {"ñ\x1b[3~é", {164, kDel, 130}},
        {"\x1b\x1b", {kEsc, kEsc}},
    });
}

TEST(KeyDecoder, UnknownSequencesAreSwallowedWhole) {
    check({
        {"\x1b[99~", {}},
        {"\x1b[1;5A", {}},   // Ctrl+Up has no code
        {"\x1b[1;3C", {}},   // Alt+Right
        {"\x1b[15;2~", {}},  // Shift+F5
        {"\x1b[1;5P", {}},   // Ctrl+F1
        {"\x1b[?1;2c", {}},  // a terminal's answer to an identity question
        {"\x1b[<0;10;5M", {}},
        {"\x1b[I\x1b[O", {}},  // focus in/out
        {"\x1b[200~", {}},
        {"\x1bx", {}},       // Alt+x
        {"\x1b\r", {}},      // Alt+Enter
        {"\x1bñ", {}},       // Alt+ñ
        {"\x1b\x1b[A", {}},  // Alt+Up
        {"\x1b[", {}},       // cut short, then a pause
        {"\x1b[1;5", {}},
        {"\x1bO", {}},
        {"\x1b[12;\x1b[A", {kUp}},  // a broken sequence does not eat the next key
        {"\x1b[" + std::string(200, '1') + "~x", {'x'}},
        {"\x1b[9999999999999999999~", {}},
    });
}

// Mouse reports (from a terminal left with mouse tracking on) are swallowed whole, raw
// bytes included: a click is never Enter, a letter or a menu choice.
TEST(KeyDecoder, MouseReportsAreNotKeys) {
    check({
        {"\x1b[M !!", {}},               // X10 press at the top left corner
        {"\x1b[M#\r\r", {}},             // raw bytes that would read as Enter
        {"\x1b[M cs", {}},               // ... or as the letters C and S
        {"\x1b[M\x23\xc3\xa1x", {'x'}},  // bytes of a far cell, then a key
        {"\x1b[M\x60\x1b\x1b", {}},      // wheel at a column whose byte is ESC
        {"\x1b[M ", {}},                 // cut short, then a pause
        {"\x1b[<0;10;5M\x1b[<0;10;5m", {}},
        {"\x1b[<64;100;36Ms", {'s'}},  // SGR wheel
        {"\x1b[32;10;5M", {}},         // urxvt
        {"\x1b[35;1;1Mc", {'c'}},
    });
}

// Replies of the terminal (clipboard, colours, capabilities) are dropped up to their end.
TEST(KeyDecoder, ControlStringsAreDropped) {
    check({
        {"\x1b]52;c;c3M=\x07", {}},                // OSC 52 clipboard reply ("ss"), ended by BEL
        {"\x1b]52;c;Y29uZWN0YXI=\x1b\\x", {'x'}},  // ... by ST, then a key
        {"\x1b]11;rgb:0000/0000/0000\x1b\\", {}},
        {"\x1b]0;año\x07", {}},
        {"\x1bP1+r544e=787465726d\x1b\\", {}},  // DCS
        {"\x1b_Gi=1;OK\x1b\\", {}},             // APC
        {"\x1b^private\x1b\\", {}},             // PM
        {"\x1bXstart of string\x07", {}},       // SOS
        {"\x1b]52;c;abc\x1b[A", {kUp}},         // a key cuts an unfinished string short
        {"\x1b]52;c;abc\x1b", {kEsc}},          // ... Esc too, after the pause
        {"\x1b]0;title\x18s", {'s'}},           // CAN cancels it
        {"\x1bPqq\x1as", {'s'}},                // SUB too
        {"\x1b]52;c;c3Nzc3Nz", {}},             // never ended: dropped at the pause
    });
}

// Pasted text is only ever text: its printable characters come as pasted codes, the rest
// of it (line ends, tabs, escape sequences) is dropped, and it never leaks out as keys.
TEST(KeyDecoder, BracketedPasteGivesPastedText) {
    auto p = [](std::string_view oem) {
        std::vector<int> keys;
        for (unsigned char b : oem) keys.push_back(pasted(b));
        return keys;
    };
    auto with = [](std::vector<int> keys, int key) {
        keys.push_back(key);
        return keys;
    };
    check({
        {"\x1b[200~ss\x1b[201~", p("ss")},
        {"\x1b[200~año 7\x1b[201~x", with(p("a\xa4o 7"), 'x')},
        {"\x1b[200~a\r\nb\tc\x1b[201~\r", with(p("abc"), kEnter)},
        {"\x1b[200~\x1b[A\x1bOPs\x1b\x1b[201~", p("s")},
        {"\x1b[200~\x1b]x\x07\x1b[201~", p("x")},  // no string inside a paste
        {"\x1b[200~\x1b[200~s\x1b[201~s", with(p("s"), 's')},
        {"\x1b[200~ss", p("ss")},  // never ended: over at the pause
        {"\x1b[201~s", {'s'}},     // an end without a start
        {"\x1b[200~“x”€\x1b[201~", p("\"x\"E")},
        {"\x1b[200;5~", {}},
        {"\x1b[200~\x1b[" + std::string(100, '1') + "~s\x1b[201~", p("s")},
    });
}

// A pause long enough closes an open string or paste: what comes afterwards is keys.
TEST(KeyDecoder, APauseClosesAnOpenStringOrPaste) {
    rt::KeyDecoder d;
    d.feed("\x1b]52;c;c3Nz");
    EXPECT_EQ(d.next(), std::nullopt);
    EXPECT_TRUE(d.pending());
    EXPECT_TRUE(d.inside_string());
    d.feed("c3Nz");  // more of it in a later read: still dropped
    EXPECT_EQ(d.next(), std::nullopt);
    EXPECT_EQ(d.next(true), std::nullopt);
    EXPECT_FALSE(d.pending());
    d.feed("s");
    EXPECT_EQ(d.next(), 's');

    d.feed("\x1b[200~s");
    EXPECT_EQ(d.next(), pasted('s'));
    EXPECT_EQ(d.next(), std::nullopt);
    EXPECT_TRUE(d.inside_string());
    EXPECT_EQ(d.next(true), std::nullopt);
    EXPECT_FALSE(d.pending());
    d.feed("s");
    EXPECT_EQ(d.next(), 's');

    d.feed("\x1b]0;t\x1b");  // half of ST
    EXPECT_EQ(d.next(), std::nullopt);
    d.feed("\\s");
    EXPECT_EQ(d.next(), 's');
    EXPECT_FALSE(d.pending());
}

TEST(KeyDecoder, LoneEscWaitsForThePause) {
    rt::KeyDecoder d;
    d.feed("\x1b");
    EXPECT_EQ(d.next(), std::nullopt);
    EXPECT_TRUE(d.pending());
    d.feed("[");  // the rest of the sequence arrives in a later read
    EXPECT_EQ(d.next(), std::nullopt);
    d.feed("6~");
    EXPECT_EQ(d.next(), kPgDn);
    d.feed("\x1b");
    EXPECT_EQ(d.next(), std::nullopt);
    EXPECT_EQ(d.next(true), kEsc);
    EXPECT_FALSE(d.pending());
    d.feed("\xc3");  // half a letter
    EXPECT_EQ(d.next(), std::nullopt);
    d.feed("\xb1");
    EXPECT_EQ(d.next(), 164);
}

TEST(KeyDecoder, RandomBytesNeverCrashOrStall) {
    std::mt19937 rng(20261207);
    const std::string alphabet =
        "\x1b[O;:0123456789~uABCDHFPQRSZ\r\n\x7f\xc3\xb1\xe2\x82\xac\x80\xff a]P_<M\x07\\\x18";
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        int n = static_cast<int>(rng() % 24);
        for (int i = 0; i < n; ++i) {
            bytes += rng() % 3 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        }
        rt::KeyDecoder d;
        // Fed in random slices, as reads would deliver them.
        std::size_t pos = 0;
        int keys = 0;
        while (pos < bytes.size()) {
            std::size_t len = 1 + rng() % 5;
            d.feed(std::string_view(bytes).substr(pos, len));
            pos += len;
            while (auto k = d.next()) {
                ++keys;
                ASSERT_TRUE(*k != 255 && *k != 0) << *k;
            }
        }
        while (d.next(true)) ++keys;
        ASSERT_FALSE(d.pending());
        ASSERT_LE(keys, n);
    }
}

}  // namespace
