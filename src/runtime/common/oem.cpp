#include "runtime/common/oem.h"

#include <ostream>

#include "runtime/common/codepage.h"

namespace cp {

Oem Oem::trimmed() const {
    const std::size_t first = s_.find_first_not_of(' ');
    if (first == npos) return {};
    return Oem(s_.substr(first, s_.find_last_not_of(' ') - first + 1));
}

Oem Oem::right_trimmed() const {
    const std::size_t last = s_.find_last_not_of(' ');
    return Oem(last == npos ? std::string() : s_.substr(0, last + 1));
}

Oem Oem::padded(std::size_t width) const {
    std::string out = s_.substr(0, width);
    out.resize(width, ' ');
    return Oem(std::move(out));
}

Oem Oem::left_padded(std::size_t width) const {
    if (s_.size() >= width) return Oem(s_.substr(0, width));
    return Oem(std::string(width - s_.size(), ' ') + s_);
}

Oem Oem::centred(std::size_t width) const {
    if (s_.size() >= width) return Oem(s_.substr(0, width));
    const std::size_t left = (width - s_.size()) / 2;
    std::string out(left, ' ');
    out += s_;
    out.resize(width, ' ');
    return Oem(std::move(out));
}

Oem operator+(OemView a, OemView b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out += a.view();
    out += b.view();
    return Oem(std::move(out));
}

std::vector<Oem> oem_list(std::initializer_list<OemView> texts) {
    std::vector<Oem> out;
    out.reserve(texts.size());
    for (OemView t : texts) out.emplace_back(t);
    return out;
}

std::ostream& operator<<(std::ostream& out, OemView text) {
    return out << oem_to_utf8(text);
}

}  // namespace cp
