#pragma once
// Key codes as the whole program knows them. A printable character's code is its CP850 byte.

namespace rt::key {
inline constexpr int kHome = 1;
inline constexpr int kCtrlRight = 2;
inline constexpr int kPgDn = 3;
inline constexpr int kRight = 4;
inline constexpr int kUp = 5;
inline constexpr int kEnd = 6;
inline constexpr int kDel = 7;
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kCtrlEnter = 10;
inline constexpr int kEnter = 13;
inline constexpr int kPgUp = 18;
inline constexpr int kLeft = 19;
inline constexpr int kCtrlT = 20;
inline constexpr int kCtrlU = 21;
inline constexpr int kIns = 22;
inline constexpr int kCtrlW = 23;
inline constexpr int kCtrlEnd = 23;
inline constexpr int kDown = 24;
inline constexpr int kCtrlY = 25;
inline constexpr int kCtrlLeft = 26;
inline constexpr int kEsc = 27;
inline constexpr int kF1 = 28;
inline constexpr int kCtrlHome = 29;
inline constexpr int kCtrlPgDn = 30;
inline constexpr int kCtrlPgUp = 31;
inline constexpr int kSpace = 32;
inline constexpr int kF2 = -1;
inline constexpr int kF3 = -2;
inline constexpr int kF4 = -3;
inline constexpr int kF5 = -4;
inline constexpr int kF6 = -5;
inline constexpr int kF7 = -6;
inline constexpr int kF8 = -7;
inline constexpr int kF9 = -8;
inline constexpr int kF10 = -9;
inline constexpr int kF11 = -40;
inline constexpr int kF12 = -41;
inline constexpr int kCtrlF11 = -44;
inline constexpr int kCtrlF12 = -45;
inline constexpr int kAltF12 = -47;
inline constexpr int kCtrlBackspace = 127;
inline constexpr int kShiftTab = 271;
// Put into the buffer by a pick list after a key handler ran, so the last key is not the
// handler's key (the list then redraws).
inline constexpr int kRedraw = 255;

constexpr bool is_printable(int code) {
    return code >= 32 && code <= 254 && code != 127;
}

// A character that came inside a paste from the terminal: kPasted plus its CP850 code. The
// console gives it as that character only to text entry (a form field, the password, the
// memo editor) and drops it anywhere else, so pasted text never chooses a menu entry or
// answers a question.
inline constexpr int kPasted = 0x10000;
constexpr int pasted(int oem) {
    return kPasted + oem;
}
constexpr bool is_pasted(int code) {
    return code >= kPasted && code < kPasted + 256;
}
constexpr int unpasted(int code) {
    return code - kPasted;
}
}  // namespace rt::key
