#pragma once
// Login to the company database server and logout.

#include <string>
#include <vector>

#include "datos/configuracion.h"

namespace vales {

// Opens the session's connection, checks the user and logs the entry; true when a session
// was established.
bool CONECTARSERVIDOR();
void DESCONECTARSERVIDOR();

// The company title and database of a three-character company code; empty when unknown.
using datos::Empresa;
const Empresa* buscar_empresa(const std::string& codigo);
// Every company the program knows: the built-in ones and those of the plant's files.
const std::vector<Empresa>& empresas();

// "dd/mm/yy  hh:mm", the access-log timestamp (15 characters).
std::string marca_acceso(int dia, int mes, int anio, int hora, int minuto);

}  // namespace vales
