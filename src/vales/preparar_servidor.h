#pragma once
// The administrator's step (vales --preparar-servidor): adds to every company database of
// the server of the local network what the program needs beyond the original tables
// (datos/objetos_adicionales.h), with the server account of the options or environment, and
// says on the terminal what it did for each. Databases the server does not have are passed
// over. 0 when every database found was prepared and at least one was found; 1 otherwise.
namespace vales {

int preparar_servidor();

}  // namespace vales
