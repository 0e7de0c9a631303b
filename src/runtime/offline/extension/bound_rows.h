#pragma once
// Rows handed to the store in one bound parameter, for the table-valued function
// bound_rows(batch, columns) of the store's extension (bound_rows.cpp): the batch is every
// value of every row, in order, each as its length in four bytes (least significant first)
// followed by its bytes. Any byte may occur in a value.
#include <cstdint>
#include <string>
#include <string_view>

namespace rt::bound_rows {

// At most this many columns per row.
inline constexpr int kMaxColumns = 16;

inline void append_value(std::string& batch, std::string_view value) {
    const auto n = static_cast<std::uint32_t>(value.size());
    const char length[4] = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                            static_cast<char>((n >> 16) & 0xFF),
                            static_cast<char>((n >> 24) & 0xFF)};
    batch.append(length, 4);
    batch.append(value);
}

// Reads the value at `pos` and moves `pos` past it; false when the batch ends in the middle.
inline bool next_value(std::string_view batch, std::size_t& pos, std::string_view& value) {
    if (pos > batch.size() || batch.size() - pos < 4) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(batch.data() + pos);
    const std::uint32_t n = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
    pos += 4;
    if (batch.size() - pos < n) return false;
    value = batch.substr(pos, n);
    pos += n;
    return true;
}

}  // namespace rt::bound_rows
