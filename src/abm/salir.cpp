#include "abm/salir.h"

#include <cstdlib>

#include "runtime/screen/console.h"
#include "runtime/screen/terminal_session.h"
#include "runtime/worktables/workspace.h"

namespace abm {

void SALIR() {
    rt::Console& c = rt::con();
    c.set_colour("w/n,n/w");
    c.clear_screen();
    c.set_pos(0, 0);
    c.flush();
    rt::wt::workspace().close_all();
    rt::restore_terminal();
    // Something went wrong: the status says so to whoever started the program.
    std::exit(EXIT_FAILURE);
}

}  // namespace abm
