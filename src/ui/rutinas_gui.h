#pragma once
// The start-up window: a small window with a caption and one centred bold line, shown over
// the console without waiting. This platform has no graphical window service, so it is a
// framed text window centred on the console.
#include "runtime/common/oem.h"

namespace ui {

void OPENWINPROCESO(cp::OemView title = {}, cp::OemView text = {});
void CLOSEWINPROCESO();

}  // namespace ui
