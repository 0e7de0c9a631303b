#pragma once
// Login to the company database server and logout.

#include <span>
#include <string>

namespace vales {

// Opens the session's connection, checks the user and logs the entry; true when a session
// was established.
bool CONECTARSERVIDOR();
void DESCONECTARSERVIDOR();

// The company title and database of a three-character company code; empty when unknown.
struct Empresa {
    const char* codigo;
    const char* base;
    const char* nombre;
};
const Empresa* buscar_empresa(const std::string& codigo);
// Every company the program knows, in the order of their codes.
std::span<const Empresa> empresas();

// "dd/mm/yy  hh:mm", the access-log timestamp (15 characters).
std::string marca_acceso(int dia, int mes, int anio, int hora, int minuto);

}  // namespace vales
