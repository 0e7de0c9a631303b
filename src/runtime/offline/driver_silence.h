#pragma once
// While one of these lives, whatever is written to the standard error stream (where the
// ODBC driver prints some of its complaints) goes to a scratch file instead of the screen.
// captured() gives what was written so far, for diagnostics. Single-threaded use only.
#include <string>

namespace rt {

class DriverSilence {
  public:
    DriverSilence();
    ~DriverSilence();
    DriverSilence(const DriverSilence&) = delete;
    DriverSilence& operator=(const DriverSilence&) = delete;

    std::string captured() const;

  private:
    int saved_ = -1;    // the real standard error
    int scratch_ = -1;  // an unnamed temporary file
};

}  // namespace rt
