// SQLite extension loaded by the off-line store connection: the text functions that the
// off-line statements call (left, right, mid, len, space) and a LIKE, all working on bytes,
// because the store holds Windows-1252 text where SQLite's own functions expect UTF-8.
//
// Semantics follow the desktop database the statements were written for: positions count
// from 1, a length past the end just stops at the end, a NULL argument gives NULL, and a
// negative length or a start before 1 is an error (the statement fails instead of returning
// something plausible). LIKE ignores case (Windows-1252 letters included) and takes "%" and
// "_" as wildcards.
#include <sqlite3ext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

SQLITE_EXTENSION_INIT1

namespace {

bool any_null(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    }
    return false;
}

// Text of a value as bytes; numbers give their SQL text ("12", "12.5").
std::string_view bytes_of(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_value_bytes(v))};
}

// A whole-number argument; fractions round half to even, as the desktop database does.
bool count_argument(sqlite3_context* ctx, sqlite3_value* v, std::int64_t minimum,
                    std::int64_t& out) {
    const double d = std::nearbyint(sqlite3_value_double(v));
    if (!(d >= static_cast<double>(minimum)) || d > 1e9) {
        sqlite3_result_error(ctx, "argumento fuera de rango", -1);
        return false;
    }
    out = static_cast<std::int64_t>(d);
    return true;
}

void result_bytes(sqlite3_context* ctx, std::string_view s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void left_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    std::int64_t n = 0;
    if (!count_argument(ctx, argv[1], 0, n)) return;
    const auto s = bytes_of(argv[0]);
    result_bytes(ctx, s.substr(0, static_cast<std::size_t>(n)));
}

void right_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    std::int64_t n = 0;
    if (!count_argument(ctx, argv[1], 0, n)) return;
    const auto s = bytes_of(argv[0]);
    const auto keep = std::min(s.size(), static_cast<std::size_t>(n));
    result_bytes(ctx, s.substr(s.size() - keep));
}

void mid_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    std::int64_t start = 0;
    if (!count_argument(ctx, argv[1], 1, start)) return;
    std::int64_t length = INT32_MAX;
    if (argc == 3 && !count_argument(ctx, argv[2], 0, length)) return;
    const auto s = bytes_of(argv[0]);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= s.size()) return result_bytes(ctx, {});
    result_bytes(ctx, s.substr(from, static_cast<std::size_t>(length)));
}

void len_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(bytes_of(argv[0]).size()));
}

void space_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    std::int64_t n = 0;
    if (!count_argument(ctx, argv[0], 0, n)) return;
    result_bytes(ctx, std::string(static_cast<std::size_t>(n), ' '));
}

// Windows-1252 upper case of one byte.
unsigned char fold(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
        case 0x9A:
            return 0x8A;  // š
        case 0x9C:
            return 0x8C;  // œ
        case 0x9E:
            return 0x8E;  // ž
        case 0xFF:
            return 0x9F;  // ÿ
        default:
            return c;
    }
}

// Byte-wise pattern match: "%" any run, "_" one byte, `escape` (when >= 0) makes the next
// byte literal. Iterative with one backtrack point, so no pattern can blow the stack.
bool like_match(std::string_view pattern, std::string_view text, int escape) {
    std::size_t p = 0, t = 0;
    std::size_t star_p = std::string_view::npos, star_t = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const auto pc = static_cast<unsigned char>(pattern[p]);
            if (pc == '%') {
                star_p = ++p;
                star_t = t;
                continue;
            }
            if (static_cast<int>(pc) == escape && p + 1 < pattern.size()) {
                if (fold(static_cast<unsigned char>(pattern[p + 1])) ==
                    fold(static_cast<unsigned char>(text[t]))) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == '_' || fold(pc) == fold(static_cast<unsigned char>(text[t]))) {
                ++p;
                ++t;
                continue;
            }
        }
        if (star_p == std::string_view::npos) return false;
        p = star_p;
        t = ++star_t;
    }
    while (p < pattern.size() && pattern[p] == '%') ++p;
    return p == pattern.size();
}

// like(pattern, text [, escape]) as SQLite calls it for "text LIKE pattern".
void like_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (any_null(argc, argv)) return sqlite3_result_null(ctx);
    int escape = -1;
    if (argc == 3) {
        const auto e = bytes_of(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE debe ser un solo caracter", -1);
            return;
        }
        escape = static_cast<unsigned char>(e[0]);
    }
    sqlite3_result_int(ctx, like_match(bytes_of(argv[0]), bytes_of(argv[1]), escape) ? 1 : 0);
}

struct Function {
    const char* name;
    int arguments;
    void (*body)(sqlite3_context*, int, sqlite3_value**);
};

constexpr Function kFunctions[] = {
    {"left", 2, left_function}, {"right", 2, right_function}, {"mid", 2, mid_function},
    {"mid", 3, mid_function},   {"len", 1, len_function},     {"space", 1, space_function},
    {"like", 2, like_function}, {"like", 3, like_function},
};

}  // namespace

int register_bound_rows(sqlite3* db);  // bound_rows.cpp

// Entry point; SQLite derives the name "sqlite3_valesaccess_init" from libvales_access.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_valesaccess_init(
    sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    (void)error;
    for (const auto& f : kFunctions) {
        const int rc =
            sqlite3_create_function(db, f.name, f.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                    nullptr, f.body, nullptr, nullptr);
        if (rc != SQLITE_OK) return rc;
    }
    return register_bound_rows(db);
}
