#pragma once
// What a plant sets without recompiling: its companies (code, database, name shown), the
// title shown before anyone logs in, and the server's addresses and account. An INI file
// (read by inih), UTF-8:
//
//   [servidor]
//   local = servidor-planta          ; as VALES_SERVIDOR_LOCAL
//   remoto = vales.empresa.cl:3307   ; as VALES_SERVIDOR_REMOTO
//   usuario = vales                  ; as VALES_USUARIO_SERVIDOR
//   clave_archivo = /home/vales/.vales-clave   ; as VALES_CLAVE_SERVIDOR_ARCHIVO
//
//   [pantalla]
//   titulo = Cerámica del Sur
//
//   [empresa 314]
//   base = planta314
//   nombre = Cerámica del Sur
//
// The files are read in order (/etc/vales/vales.conf, then vales.conf of the working
// folder), each over what the ones before set; the built-in values hold where none says
// otherwise. The environment and the command line win over the files.
#include <string>
#include <vector>

namespace datos {

struct Empresa {
    std::string codigo, base, nombre;  // the name as stored texts are (Windows-1252)
};

struct Configuracion {
    std::vector<Empresa> empresas = {
        {"007", "velmo", "Refractarios Velmo Ltda."},
        {"225", "tarsin", "Tarsin refractarios S.A."},
        {"999", "test", "Empresa de pruebas..."},
    };
    std::string titulo = "Refractarios Velmo Ltda.";  // Windows-1252
    // What could not be read, one line each ("vales.conf, línea 7: ..."), UTF-8.
    std::vector<std::string> avisos;

    const Empresa* empresa(const std::string& codigo) const;
};

inline const std::vector<std::string> kArchivosDeConfiguracion = {"/etc/vales/vales.conf",
                                                                  "vales.conf"};

// Reads the files that exist of `archivos` over `c`. A file with a line that cannot be read
// keeps every line it could read and says where the first bad one is.
void leer_configuracion(const std::vector<std::string>& archivos, Configuracion& c);

}  // namespace datos
