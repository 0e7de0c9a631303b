#pragma once
// Letters of the screen code page (CP850) compared without regard to case, for the letter
// search of pick lists and the first-letter keys of the alert box.

namespace rt {

// The upper-case form of a CP850 byte ("ñ" gives "Ñ", "á" gives "Á"); other codes as given.
int oem_upper(int code);

// True when two key codes / CP850 bytes are the same letter in either case.
inline bool same_letter(int a, int b) {
    return oem_upper(a) == oem_upper(b);
}

}  // namespace rt
