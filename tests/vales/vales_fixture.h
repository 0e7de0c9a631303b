#pragma once
// A virtual terminal plus a fresh session state for each test of the application.
#include "datos/sesion.h"
#include "support/screen_test.h"

namespace testing_support {

class ValesTest : public ScreenTest {
  protected:
    ValesTest() { previous_sesion_ = datos::install_sesion(&sesion); }
    ~ValesTest() override { datos::install_sesion(previous_sesion_); }
    datos::Sesion sesion;

  private:
    datos::Sesion* previous_sesion_;
};

}  // namespace testing_support
