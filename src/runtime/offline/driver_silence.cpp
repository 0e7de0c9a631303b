#include "runtime/offline/driver_silence.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace rt {

DriverSilence::DriverSilence() {
    std::fflush(stderr);
    scratch_ = ::open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (scratch_ < 0) scratch_ = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (scratch_ < 0) return;
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ >= 0) ::dup2(scratch_, STDERR_FILENO);
}

DriverSilence::~DriverSilence() {
    std::fflush(stderr);
    if (saved_ >= 0) {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    if (scratch_ >= 0) ::close(scratch_);
}

std::string DriverSilence::captured() const {
    std::fflush(stderr);
    std::string text;
    if (scratch_ < 0) return text;
    char buffer[512];
    for (off_t at = 0;;) {
        const auto n = ::pread(scratch_, buffer, sizeof buffer, at);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
        if (text.size() > 4096) break;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace rt
