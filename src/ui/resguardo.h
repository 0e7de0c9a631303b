#pragma once
// The screen guard of every operation, window and box of the application: what it keeps on
// entry and puts back when it leaves, however it leaves: the whole screen with the cursor,
// the colour setting and the current work area (an operation run from another one's list
// leaves that list's table current).
#include <string_view>

#include "runtime/screen/console.h"
#include "runtime/worktables/workspace.h"

namespace ui {

class Resguardo {
  public:
    // Sets `color` (when given) once the screen is kept.
    explicit Resguardo(std::string_view color = {})
        : pantalla_(rt::con().save_screen()), area_(rt::wt::workspace().current_area()) {
        if (!color.empty()) rt::con().set_colour(color);
    }
    ~Resguardo() {
        rt::wt::workspace().select(area_);
        rt::con().restore_screen(pantalla_);
    }
    Resguardo(const Resguardo&) = delete;
    Resguardo& operator=(const Resguardo&) = delete;

  private:
    rt::SavedScreen pantalla_;
    int area_;
};

}  // namespace ui
