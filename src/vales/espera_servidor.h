#pragma once
// What the user sees and keeps while the server is slow to answer a statement.
//
// - After a second of silence the message line says that the program waits for the
//   server, with the seconds gone by; the line comes back when the answer arrives.
// - Keys typed meanwhile are kept, in order, in the console's key buffer: the message
//   boxes that may follow leave them alone, so they reach the next screen that reads keys.
// - A server silent for longer than the limit of runtime/server/server_wait.h is given
//   up: a message box says so and the session counts as disconnected (its connection
//   was closed), so the user connects again. So does a connection that the server closed
//   (stopped, restarted, or cut off by the network).
namespace vales {

// Installs the above as the server library's wait hooks, on the installed console.
void instalar_espera_servidor();

// The message shown when the server is given up.
inline constexpr const char* kServidorNoResponde =
    "El servidor no responde: se canceló la operación - conéctese nuevamente";
// The message shown when the server closed the connection.
inline constexpr const char* kConexionPerdida =
    "Se perdió la conexión con el servidor - conéctese nuevamente";

}  // namespace vales
