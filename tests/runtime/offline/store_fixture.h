#pragma once
// A fresh off-line store in a temporary folder owned by one test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"

namespace rt::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override;
    std::string connection() const { return offline_connection_string_for(file_.string()); }
    // Runs one statement on `db` and expects it to work.
    static void run(TODBC& db, const std::string& sql);

    TempFolder folder_;
    std::filesystem::path file_;
};

// Captures what is written to the standard error stream while it lives.
class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();
    std::string text();

  private:
    int saved_ = -1;
    int file_ = -1;
};

}  // namespace rt::testing
