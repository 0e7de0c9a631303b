#pragma once
// Where the company database server is and which account the program uses on it.
// The login offers two addresses: the server on the plant's local network and the same
// server reached from outside. Both are fixed in the program; a workstation (or the test
// run, whose private server listens on a loopback port) may override them with the
// environment variables VALES_SERVIDOR_LOCAL and VALES_SERVIDOR_REMOTO, written as
// "host" or "host:port".
//
// The server account is fixed too, and a plant may give the program one of its own (with
// no more rights than the program needs): the user name from VALES_USUARIO_SERVIDOR, the
// password from the first line of the file named by VALES_CLAVE_SERVIDOR_ARCHIVO or else
// from VALES_CLAVE_SERVIDOR. The command line sets these variables (vales --help); it
// never takes the password itself, which every user of the machine could read there.
#include <optional>
#include <string>
#include <string_view>

namespace datos {

// Every connection is opened with the program's server account (by default the server's
// administrator); the user's own name and password are checked afterwards against the
// table of users.
inline constexpr std::string_view USUARIO_SERVIDOR = "root";
inline constexpr std::string_view CLAVE_SERVIDOR = "58206137";

inline constexpr const char* VAR_USUARIO_SERVIDOR = "VALES_USUARIO_SERVIDOR";
inline constexpr const char* VAR_CLAVE_SERVIDOR = "VALES_CLAVE_SERVIDOR";
inline constexpr const char* VAR_CLAVE_SERVIDOR_ARCHIVO = "VALES_CLAVE_SERVIDOR_ARCHIVO";

// The account the connections use: the environment's, or the compiled-in one. An empty
// variable counts as not set.
std::string usuario_servidor();
std::string clave_servidor();
// The first line of a password file (without its line end); nothing when it cannot be read.
std::optional<std::string> leer_clave_de_archivo(const std::string& path);

// The supervisor's password (the catalogue's jobs for the supervisor ask for it). A plant
// sets its own: a hash of it as crypt(3) writes one ("openssl passwd -6", "mkpasswd") in
// the first line of the file named by VALES_CLAVE_SUPERVISOR_ARCHIVO, which only its owner
// may read, or else the password itself in VALES_CLAVE_SUPERVISOR. Without either, the
// demo's password holds.
inline constexpr std::string_view CLAVE_SUPERVISOR_DEMO = "58206137";
inline constexpr const char* VAR_CLAVE_SUPERVISOR = "VALES_CLAVE_SUPERVISOR";
inline constexpr const char* VAR_CLAVE_SUPERVISOR_ARCHIVO = "VALES_CLAVE_SUPERVISOR_ARCHIVO";

// Whether `clave` is the supervisor's password. A file named that cannot be read, holds no
// hash, or that others may read, accepts none.
bool clave_supervisor_correcta(const std::string& clave);

// Each plant sets its own addresses (environment or command line); without them the
// program looks for the server on this machine.
inline constexpr std::string_view SERVIDOR_LOCAL_FIJO = "127.0.0.1";
inline constexpr std::string_view SERVIDOR_REMOTO_FIJO = "127.0.0.1:3307";

inline constexpr const char* VAR_SERVIDOR_LOCAL = "VALES_SERVIDOR_LOCAL";
inline constexpr const char* VAR_SERVIDOR_REMOTO = "VALES_SERVIDOR_REMOTO";

// The address for the connection mode: local network (true) or remote (false). An
// environment value that is not a valid address is ignored.
std::string direccion_servidor(bool local);
inline std::string servidor_local() {
    return direccion_servidor(true);
}
inline std::string servidor_remoto() {
    return direccion_servidor(false);
}

}  // namespace datos
