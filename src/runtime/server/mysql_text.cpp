// Statement text helpers: numbers and server addresses.
#include <charconv>
#include <cmath>
#include <string>

#include "runtime/server/tmysql.h"

namespace rt {

std::string mysql_number(double n) {
    if (!std::isfinite(n)) return "0";
    if (n == 0) return "0";  // also turns -0 into 0
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed);
    if (ec != std::errc{}) return "0";
    return std::string(buf, end);
}

std::string strict_sql_mode(std::string_view server_mode) {
    // The modes the program's statements are known to work under; any other (PIPES_AS_CONCAT,
    // EMPTY_STRING_IS_NULL, ONLY_FULL_GROUP_BY, ALLOW_INVALID_DATES ...) changes what they
    // mean or what they accept, and is left out.
    static constexpr std::string_view kTolerated[] = {"STRICT_TRANS_TABLES",
                                                      "STRICT_ALL_TABLES",
                                                      "ERROR_FOR_DIVISION_BY_ZERO",
                                                      "NO_ENGINE_SUBSTITUTION",
                                                      "NO_AUTO_CREATE_USER",
                                                      "NO_BACKSLASH_ESCAPES",
                                                      "ANSI_QUOTES",
                                                      "NO_ZERO_IN_DATE",
                                                      "NO_ZERO_DATE",
                                                      "NO_DIR_IN_CREATE",
                                                      "IGNORE_SPACE"};
    std::string out = "STRICT_TRANS_TABLES";
    while (!server_mode.empty()) {
        const auto comma = server_mode.find(',');
        const std::string_view mode = server_mode.substr(0, comma);
        server_mode =
            comma == std::string_view::npos ? std::string_view{} : server_mode.substr(comma + 1);
        if (mode == kTolerated[0]) continue;
        for (const std::string_view t : kTolerated) {
            if (mode == t) out.append(",").append(mode);
        }
    }
    return out;
}

std::optional<MySQLAddress> parse_mysql_address(std::string_view address) {
    auto trim = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        return s;
    };
    address = trim(address);
    if (address.empty()) return std::nullopt;
    MySQLAddress out;
    std::string_view host = address, port;
    if (address.front() == '[') {  // [v6]:port
        auto close = address.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = address.substr(1, close - 1);
        auto rest = address.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            port = rest.substr(1);
            if (port.empty()) return std::nullopt;
        }
    } else if (auto colon = address.find(':'); colon != std::string_view::npos) {
        if (address.find(':', colon + 1) == std::string_view::npos) {
            host = address.substr(0, colon);
            port = address.substr(colon + 1);
            if (port.empty()) return std::nullopt;
        }  // several colons: a bare IPv6 literal
    }
    if (host.empty()) return std::nullopt;
    out.host = std::string(host);
    if (!port.empty()) {
        unsigned int p = 0;
        auto [ptr, ec] = std::from_chars(port.data(), port.data() + port.size(), p);
        if (ec != std::errc{} || ptr != port.data() + port.size() || p == 0 || p > 65535)
            return std::nullopt;
        out.port = p;
    }
    return out;
}

}  // namespace rt
