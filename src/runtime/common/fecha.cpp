// Dates as day numbers of the proleptic Gregorian calendar, so that comparing and adding
// days is integer arithmetic and only the text forms know about months.
#include "runtime/common/fecha.h"

#include <cctype>
#include <cstdio>

namespace rt {
namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int days_in_month(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

// Days from 0001-01-01 (day 0), by the civil-from-days method with years starting in March.
int days_from_civil(int y, int m, int d) {
    y -= m <= 2;
    const int era = y / 400;  // y >= 0 here
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 306;  // 306 = days from 0000-03-01 to 0001-01-01
}

void civil_from_days(int z, int& y, int& m, int& d) {
    z += 306;
    const int era = z / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

bool all_blank(std::string_view s) {
    for (char c : s)
        if (c != ' ') return false;
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// A run of 1 to `max_digits` digits, nothing else.
std::optional<int> number(std::string_view s, std::size_t max_digits) {
    if (s.empty() || s.size() > max_digits) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

int year_from_epoch(int two_digit_year, int epoch) {
    int year = epoch / 100 * 100 + two_digit_year;
    return year < epoch ? year + 100 : year;
}

std::optional<Fecha> Fecha::from_ymd(int year, int month, int day) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > days_in_month(year, month))
        return std::nullopt;
    return Fecha(days_from_civil(year, month, day) + 1);
}

std::optional<Fecha> Fecha::parse(std::string_view text, int epoch) {
    std::string_view parts[3];
    std::size_t n = 0, start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '/') {
            if (n == 3) return std::nullopt;
            parts[n++] = text.substr(start, i - start);
            start = i + 1;
        }
    }
    if (n == 1 && all_blank(text)) return Fecha();
    if (n != 3) return std::nullopt;
    if (all_blank(parts[0]) && all_blank(parts[1]) && all_blank(parts[2])) return Fecha();
    auto day = number(trim(parts[0]), 2);
    auto month = number(trim(parts[1]), 2);
    std::string_view year_text = trim(parts[2]);
    auto year = number(year_text, 4);
    if (!day || !month || !year) return std::nullopt;
    int full_year = year_text.size() <= 2 ? year_from_epoch(*year, epoch) : *year;
    return from_ymd(full_year, *month, *day);
}

std::optional<Fecha> Fecha::parse_dtos(std::string_view yyyymmdd) {
    if (all_blank(yyyymmdd)) return Fecha();
    if (yyyymmdd.size() != 8) return std::nullopt;
    auto year = number(yyyymmdd.substr(0, 4), 4);
    auto month = number(yyyymmdd.substr(4, 2), 2);
    auto day = number(yyyymmdd.substr(6, 2), 2);
    if (!year || !month || !day) return std::nullopt;
    return from_ymd(*year, *month, *day);
}

int Fecha::year() const {
    if (empty()) return 0;
    int y, m, d;
    civil_from_days(serial_ - 1, y, m, d);
    return y;
}

int Fecha::month() const {
    if (empty()) return 0;
    int y, m, d;
    civil_from_days(serial_ - 1, y, m, d);
    return m;
}

int Fecha::day() const {
    if (empty()) return 0;
    int y, m, d;
    civil_from_days(serial_ - 1, y, m, d);
    return d;
}

std::string Fecha::text() const {
    if (empty()) return "  /  /    ";
    int y, m, d;
    civil_from_days(serial_ - 1, y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d, m, y);
    return buf;
}

std::string Fecha::dtos() const {
    if (empty()) return std::string(8, ' ');
    int y, m, d;
    civil_from_days(serial_ - 1, y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
    return buf;
}

Fecha Fecha::plus_days(int n) const {
    if (empty()) return *this;
    static const int kLast = days_from_civil(kMaxYear, 12, 31) + 1;
    long long serial = static_cast<long long>(serial_) + n;
    if (serial < 1 || serial > kLast) return Fecha();  // outside the calendar: no date
    return Fecha(static_cast<int>(serial));
}

}  // namespace rt
