#pragma once
// The administrator's check of a workstation (vales --comprobar-almacen): the off-line store
// of the working folder is created when missing and opened with the program's SQL functions,
// as the off-line entry would open it, without taking over the terminal.

namespace vales {

// 0 when the store can be used (said on stdout), 1 when not (the reason on stderr).
int comprobar_almacen();

}  // namespace vales
