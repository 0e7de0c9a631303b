#pragma once
// A virtual terminal plus a fresh session state for each test of the application.
#include "support/screen_test.h"
#include "comun/sesion.h"

namespace testing_support {

class ValesTest : public ScreenTest {
  protected:
    ValesTest() { previous_sesion_ = vales::install_sesion(&sesion); }
    ~ValesTest() override { vales::install_sesion(previous_sesion_); }
    vales::Sesion sesion;

  private:
    vales::Sesion* previous_sesion_;
};

}  // namespace testing_support
