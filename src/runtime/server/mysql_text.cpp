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
