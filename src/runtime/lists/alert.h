#pragma once
// The alert box: a message of one or more lines with one or more buttons, centred on the
// screen, that waits until the user chooses a button or leaves with Esc.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/common/oem.h"

namespace rt {

// Each ";" in `text` starts a new line. Without buttons there is one, "Ok". Returns the
// number of the chosen button (counted from 1), or 0 when the user pressed Esc.
//
// Keys: Enter chooses the highlighted button; Left/Right, Shift+Tab/Tab move the
// highlight (going round); a letter chooses the first button that begins with it. The
// screen under the box, the cursor and the colour setting are put back before returning.
int alert(cp::OemView text, const std::vector<cp::OemView>& buttons = {});

}  // namespace rt
