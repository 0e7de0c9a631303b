#include "abm/salir.h"

#include <gtest/gtest.h>

#include "support/screen_test.h"

namespace {

class SalirTest : public testing_support::ScreenTest {};

TEST_F(SalirTest, EndsTheProgramWithAFailureStatus) {
    console.write_at(3, 3, "algo");
    EXPECT_EXIT({ abm::SALIR(); }, ::testing::ExitedWithCode(EXIT_FAILURE), "");
}

}  // namespace
