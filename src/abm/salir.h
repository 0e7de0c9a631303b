#pragma once
// The emergency exit, taken when a work table cannot be opened (after the caller's own
// message): clears the screen, closes every work table, gives the terminal back and ends
// the program.

namespace abm {

[[noreturn]] void SALIR();

}  // namespace abm
