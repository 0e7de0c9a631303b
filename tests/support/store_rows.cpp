#include "support/store_rows.h"

#include <gtest/gtest.h>

namespace testing_support {

std::vector<std::string> store_rows(rt::TODBC& db, const std::string& sql) {
    db.SetSQL(sql);
    EXPECT_TRUE(db.Open()) << sql << "\n" << db.SQLErrorMessage();
    std::vector<std::string> out;
    for (const auto& row : db.Rows()) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + row[i];
        out.push_back(line);
    }
    db.Close();
    return out;
}

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

}  // namespace testing_support
