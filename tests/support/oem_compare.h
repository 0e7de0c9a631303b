#pragma once
// Tests compare console texts with byte literals ("A\xA4o") and plain ASCII ones inside
// EXPECT_EQ, where the literal reaches the comparison as a reference and cannot be checked
// while compiling. The program itself has no such comparison: its literals go through
// cp::OemView.
#include <string>
#include <string_view>

#include "runtime/common/oem.h"

namespace cp {

inline bool operator==(const Oem& text, const char* cp850) {
    return text.view() == std::string_view(cp850);
}
inline bool operator==(const Oem& text, const std::string& cp850) {
    return text.view() == cp850;
}

}  // namespace cp
