#pragma once
// The viewer of a long text the user must read through: a statement, a server's error.
#include <optional>
#include <string_view>

#include "runtime/common/oem.h"

namespace ui {

// Shows `text` in a framed read-only viewer until Esc.
void VERMEMO(cp::OemView text, std::optional<std::string_view> colour = {});

}  // namespace ui
