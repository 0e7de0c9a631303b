#pragma once
// The message boxes: the alert, a message of one or more lines with one or more buttons,
// centred on the screen, that waits until the user chooses a button or leaves with Esc; and
// the notice, one line in a box that waits a few seconds or for a key. Both are drawn and
// put back by the same code, each in its own look.
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

// How a notice looks: the row of its text (the box takes the rows above and below), the
// colours of its box and of its text, and the tone that sounds when it shows.
struct NoticeLook {
    int row = 16;
    std::string_view box_colour = "+W/R";
    std::string_view text_colour = "+GR/R";
    int tone_frequency = 100;
    int tone_duration = 3;
};

// Shows `text` (trimmed, cut to the screen's width less two) centred in a box just wide
// enough for it, sounds the tone, and waits `seconds` or for a key pressed while it shows;
// keys typed ahead stay queued for what comes next. The screen under the box, the cursor
// and the colour setting are put back.
void notice(cp::OemView text, double seconds, const NoticeLook& look = {});

}  // namespace rt
