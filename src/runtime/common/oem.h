#pragma once
// Console text as a type of its own. The screen grid holds CP850 ("OEM") bytes, one a
// cell, while the program and its stores hold Windows-1252 ("ANSI") text in std::string.
// Everything that puts text on the screen (the console, menus, pick lists, the alert box,
// the message routines, forms) takes cp::OemView, which a std::string does not convert to:
// a stored or program text reaches the screen only through cp::ansi_to_oem, and a typed
// text reaches a statement only through cp::oem_to_ansi. A missing conversion does not
// compile.
//
//   con().write_at(3, 2, "Bodega :");                  // ASCII literal: the same in both
//   con().write_at(4, 2, "Año"_oem);                    // other literals: converted once
//   con().write_at(5, 2, cp::ansi_to_oem(nombre));     // a stored name
//   con().write_at(6, 2, cp::OemView::cp850("\xC4"));  // CP850 bytes known as such
#include <compare>
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace cp {

class Oem;

// A console text that a routine reads during the call (never kept: it may view a
// temporary). Made from an Oem, from an ASCII literal (checked while compiling), or
// explicitly from bytes known to be CP850.
class OemView {
  public:
    constexpr OemView() = default;
    OemView(const Oem& text) noexcept;  // NOLINT(google-explicit-constructor): meant to convert
    template <std::size_t N>
    consteval OemView(const char (&ascii)[N]) : v_(ascii, N - 1) {  // NOLINT: meant to convert
        for (char ch : v_) {
            // Not a constant expression, so a literal with other bytes does not compile:
            // write it with the _oem suffix.
            if (static_cast<unsigned char>(ch) >= 0x80) throw "not ASCII: use the _oem suffix";
        }
    }
    static constexpr OemView cp850(std::string_view bytes) {
        OemView v;
        v.v_ = bytes;
        return v;
    }

    constexpr std::string_view view() const { return v_; }
    constexpr std::size_t size() const { return v_.size(); }
    constexpr bool empty() const { return v_.empty(); }
    constexpr char operator[](std::size_t i) const { return v_[i]; }
    constexpr auto begin() const { return v_.begin(); }
    constexpr auto end() const { return v_.end(); }
    constexpr OemView substr(std::size_t pos, std::size_t count = std::string_view::npos) const {
        return cp850(v_.substr(pos, count));
    }

  private:
    std::string_view v_;
};

// An owned console text.
class Oem {
  public:
    static constexpr std::size_t npos = std::string::npos;

    Oem() = default;
    // Bytes already in the console code page (what the grid or a form field gives back).
    // Only a std::string itself: a literal goes through OemView, which checks it.
    template <typename S>
    requires std::same_as<std::remove_cvref_t<S>, std::string>
    explicit Oem(S&& cp850) : s_(std::forward<S>(cp850)) {}
    explicit Oem(OemView text) : s_(text.view()) {}
    Oem(std::size_t count, char ascii) : s_(count, ascii) {}
    Oem& operator=(OemView text) {
        s_.assign(text.view());
        return *this;
    }

    const std::string& str() const { return s_; }
    std::string_view view() const { return s_; }
    std::size_t size() const { return s_.size(); }
    bool empty() const { return s_.empty(); }
    char operator[](std::size_t i) const { return s_[i]; }
    char& operator[](std::size_t i) { return s_[i]; }
    auto begin() const { return s_.begin(); }
    auto end() const { return s_.end(); }
    Oem substr(std::size_t pos, std::size_t count = npos) const {
        return Oem(s_.substr(pos, count));
    }
    void resize(std::size_t count, char fill = ' ') { s_.resize(count, fill); }
    Oem& operator+=(OemView text) {
        s_ += text.view();
        return *this;
    }
    Oem& operator+=(char ascii) {
        s_ += ascii;
        return *this;
    }

    // Blank-trimmed, padded and centred copies (blanks are the same byte in every code page).
    Oem trimmed() const;
    Oem right_trimmed() const;
    Oem padded(std::size_t width) const;       // cut or filled with blanks on the right
    Oem left_padded(std::size_t width) const;  // filled on the left, cut on the right
    Oem centred(std::size_t width) const;      // cut to the width when longer

  private:
    std::string s_;
};

inline OemView::OemView(const Oem& text) noexcept : v_(text.view()) {}

Oem operator+(OemView a, OemView b);
inline bool operator==(OemView a, OemView b) {
    return a.view() == b.view();
}
inline std::strong_ordering operator<=>(OemView a, OemView b) {
    return a.view() <=> b.view();
}
// Texts of a fixed list: oem_list({"Fina", "Gruesa", "Ñandú"_oem}).
std::vector<Oem> oem_list(std::initializer_list<OemView> texts);

// The UTF-8 form, so that a failing test shows readable text.
std::ostream& operator<<(std::ostream& out, OemView text);

}  // namespace cp
