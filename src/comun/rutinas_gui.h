#pragma once
// The start-up window: a small window with a caption and one centred bold line, shown over
// the console without waiting. This platform has no graphical window service, so it is a
// framed text window centred on the console.
#include <string_view>

namespace comun {

void OPENWINPROCESO(std::string_view title = {}, std::string_view text = {});
void CLOSEWINPROCESO();

}  // namespace comun
