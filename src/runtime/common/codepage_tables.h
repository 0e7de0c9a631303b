#pragma once
// Raw tables of the code pages; only the conversion functions read them.

namespace cp::tables {
extern const char16_t kOem[256];      // CP850 byte -> code point
extern const char16_t kAnsiHigh[32];  // Windows-1252 0x80-0x9F -> code point
}  // namespace cp::tables
