#pragma once
// Off-line stores for tests: each in a temporary folder owned by one test, removed
// afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"

namespace testing_support {

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

// A fresh store with every table, in its own temporary folder.
class ScratchStore {
  public:
    ScratchStore();
    const std::filesystem::path& file() const { return file_; }
    std::string connection() const { return rt::offline_connection_string_for(file_.string()); }
    // Runs one statement on a connection of its own and expects it to work.
    void run(const std::string& sql) const;
    // The rows of `sql`, each as "value|value|...", exactly as the store returns them.
    std::vector<std::string> rows(const std::string& sql) const;

  private:
    TempFolder folder_;
    std::filesystem::path file_;
};

class StoreTest : public ::testing::Test {
  protected:
    std::string connection() const { return store_.connection(); }
    // Runs one statement on `db` and expects it to work.
    static void run(rt::TODBC& db, const std::string& sql);

    ScratchStore store_;
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

}  // namespace testing_support
