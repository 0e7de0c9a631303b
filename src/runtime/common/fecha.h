#pragma once
// A calendar date as the program uses it: shown and typed as "dd/mm/yyyy", two-digit
// years placed in the hundred years starting at the epoch (1960), and an empty date.
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

class Fecha {
  public:
    Fecha() = default;                                                   // the empty date
    static std::optional<Fecha> from_ymd(int year, int month, int day);  // nullopt if impossible
    // "dd/mm/yyyy" or "dd/mm/yy" (epoch rule); blanks or "  /  /    " give the empty date;
    // anything else that is not a real date gives nullopt.
    static std::optional<Fecha> parse(std::string_view ddmmyyyy, int epoch = 1960);
    // "yyyymmdd" (the server form); "" or blanks give the empty date.
    static std::optional<Fecha> parse_dtos(std::string_view yyyymmdd);

    bool empty() const { return serial_ == 0; }
    int year() const;
    int month() const;
    int day() const;
    std::string text() const;  // "dd/mm/yyyy", or "  /  /    " when empty
    std::string dtos() const;  // "yyyymmdd", or 8 blanks when empty
    Fecha plus_days(int n) const;
    int serial() const { return serial_; }  // days since 0001-01-01 plus one; 0 = empty

    auto operator<=>(const Fecha&) const = default;

  private:
    explicit Fecha(int serial) : serial_(serial) {}
    int serial_ = 0;
};

// Two-digit year -> four digits within [epoch, epoch + 99].
int year_from_epoch(int two_digit_year, int epoch = 1960);

}  // namespace rt
