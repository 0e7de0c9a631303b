// The read-only text viewer for statements and server error texts.
#include "ui/vermemo.h"
#include "runtime/browse/memo_viewer.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace ui {

void VERMEMO(cp::OemView text, std::optional<std::string_view> colour) {
    Resguardo resguardo(colour.value_or("+bg/n,+w/n"));
    const int last = rt::kCols - 1;
    BOX(6, 2, 30, last - 2);
    rt::memo_edit(text, rt::MemoWindow{7, 3, 29, last - 3}, false);
}

}  // namespace ui
