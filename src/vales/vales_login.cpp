#include "vales/vales_login.h"

#include <cstdio>
#include <string>

#include "datos/consulta.h"
#include "datos/servidores.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/form.h"
#include "runtime/lists/alert.h"
#include "runtime/screen/console.h"
#include "runtime/server/tmysql.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"
#include "vales/vales.h"

namespace vales {
namespace {

// The connection-mode menu: 1 local, 2 remote, 3 cancel (0 for Esc).
int elegir_conexion() {
    rt::Console& c = rt::con();
    ui::MSG("Seleccione tipo de conexión"_oem);
    ui::BOX(19, 5, 23, 34);
    c.prompt(20, 11, " Conección Local  "_oem, "+g/+n,b/w");
    c.prompt(21, 11, " Conección Remota "_oem, "+g/+n,b/w");
    c.prompt(22, 11, "    Cancelar      ", "+g/+n,b/w");
    return c.menu_to("nTipo", "CONECTARSERVIDOR");
}

// The login form; false when the user left it with Esc.
bool leer_usuario(cp::Oem& empresa, cp::Oem& usuario) {
    rt::Console& c = rt::con();
    ui::MSG("Ingrese código de empresa, nombre y clave de usuario      [Escape]Salir"_oem);
    ui::BOX(25, 5, 29, 34, "+g/+n");
    auto not_blank = [](const cp::Oem& v) { return [&v] { return !v.trimmed().empty(); }; };
    rt::Form form;
    c.write_at(26, 7, "Empresa :");
    form.field(26, 17, empresa, "cEmpresa", "999", not_blank(empresa));
    c.write_at(27, 7, "Usuario :");
    form.field(27, 17, usuario, "cUser", "", not_blank(usuario));
    c.write_at(28, 7, "PassWord:");
    c.set_cursor_shape(3);
    form.read("CONECTARSERVIDOR");
    c.set_cursor_shape(0);
    return c.last_key() != rt::key::kEsc;
}

// Checks the user on the server; the message of the first failure, or "" when valid.
std::string validar_usuario(TMySQLServer& server, const std::string& usuario,
                            const std::string& clave) {
    ui::MSG("Validando usuario...");
    auto q =
        datos::consulta(&server, "select * from usuarios where usuario='" + server.escape(usuario) +
                                     "' and clave=password('" + server.escape(clave) + "')");
    if (datos::fallo(q)) return "Error al validar usuario";
    if (q->LastRec() == 0) return "Usuario y/o password incorrecto";
    if (!q->FieldGet("l_activo").logical()) return "ERROR: Usuario no activo en el sistema";
    if (!q->FieldGet("acc_sistema_vales_off_line").logical())
        return "ERROR: Usuario no autorizado para ingresar al sistema";
    return {};
}

bool registrar_ingreso(TMySQLServer& server) {
    const rt::LocalTime t = rt::con().now();
    const std::string acceso = marca_acceso(t.day, t.month, t.year, t.hour, t.minute);
    return !datos::fallo(datos::consulta(
        &server, "insert into accesos set usuario='" + server.escape(datos::ses().COD_USUARIO) +
                     "', acceso='" + acceso + "', accion='Ingreso sistema VALES'"));
}

// One attempt with the values of the form; true when the session was established. A
// failed attempt has shown its message and the caller goes back to the form.
enum class Intento { kConectado, kReintentar, kTerminar };

Intento intentar(const std::string& direccion, bool local, const cp::Oem& empresa_oem,
                 const cp::Oem& usuario_oem, const cp::Oem& clave_oem) {
    datos::Sesion& s = datos::ses();
    const std::string empresa = cp::oem_to_ansi(empresa_oem);
    const Empresa* e = buscar_empresa(empresa);
    if (!e) {
        ui::MSGBOX("ADVERTENCIA: No existe base de datos para empresa ingresada");
        return Intento::kReintentar;
    }
    ui::MSG("Conectando con Servidor(" + cp::ansi_to_oem(direccion) + ")...");
    if (s.OSERVER) s.OSERVER->Destroy();
    s.OSERVER = TMySQLServer::New(direccion, datos::usuario_servidor(), datos::clave_servidor());
    if (s.OSERVER->NetErr()) {
        ui::MSGBOX("No se puede conectar con servidor");
        return Intento::kReintentar;
    }
    if (!s.OSERVER->SelectDB(e->base)) {
        rt::alert("ERROR;No se puede conectar con; base de datos " + cp::ansi_to_oem(e->base));
        return Intento::kReintentar;
    }
    // Typed text is in the screen's code page; the server holds Windows-1252.
    const std::string usuario = rt::trim(cp::oem_to_ansi(usuario_oem));
    const std::string error = validar_usuario(*s.OSERVER, usuario, cp::oem_to_ansi(clave_oem));
    if (!error.empty()) {
        ui::MSGBOX(cp::ansi_to_oem(error));
        return Intento::kReintentar;
    }
    s.NOM_EMPRESA = e->nombre;
    s.LESCONECLOCAL = local;
    s.COD_USUARIO = rt::lower(usuario);
    s.COD_EMPRESA = rt::trim(empresa);
    s.LCONECTADO = true;
    s.aviso_sin_registro_dado = false;  // the company's database may be another one
    if (!registrar_ingreso(*s.OSERVER)) {
        ui::MSGBOX("Error al registrar su ingreso - reintente nuevamente");
        s.LCONECTADO = false;
        return Intento::kTerminar;
    }
    return Intento::kConectado;
}

}  // namespace

const std::vector<Empresa>& empresas() {
    return datos::ses().configuracion.empresas;
}

const Empresa* buscar_empresa(const std::string& codigo) {
    return datos::ses().configuracion.empresa(codigo);
}

std::string marca_acceso(int dia, int mes, int anio, int hora, int minuto) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d  %02d:%02d", dia % 100, mes % 100, anio % 100,
                  hora % 100, minuto % 100);
    return text;
}

bool CONECTARSERVIDOR() {
    rt::Console& c = rt::con();
    ui::Resguardo resguardo("+g/n,+w/n,,,w/n");
    if (datos::ses().LCONECTADO) {
        ui::MSGBOX("Ya existe una conexión con el servidor"_oem);
        return false;
    }
    const int tipo = elegir_conexion();
    c.fill_box(2, 50, rt::kRows - 1, rt::kCols - 1, "         ", "b/b");
    MUESTRALLAVE("+g/b");
    bool resultado = false;
    if (tipo == 1 || tipo == 2) {
        const std::string direccion = datos::direccion_servidor(tipo == 1);
        cp::Oem empresa = cp::ansi_to_oem(datos::ses().COD_EMPRESA).padded(3);
        cp::Oem usuario(15, ' ');
        for (;;) {
            if (!leer_usuario(empresa, usuario)) break;
            const cp::Oem clave = ui::GETPASS(28, 17, 4, 10, "+w/+n", true);
            if (clave.empty()) {
                // Esc in the password entry: an empty password would match a user whose
                // stored password was left empty, past the entry's minimum length.
                ui::MSGBOX("Usuario y/o password incorrecto");
                continue;
            }
            const Intento r = intentar(direccion, tipo == 1, empresa, usuario, clave);
            if (r == Intento::kReintentar) continue;
            resultado = r == Intento::kConectado;
            break;
        }
    }
    if (resultado) ui::MSGBOX("Se ha establecido una conexión con el servidor"_oem);
    return resultado;
}

void DESCONECTARSERVIDOR() {
    datos::Sesion& s = datos::ses();
    if (!s.OSERVER) {
        ui::MSGBOX("No existe una conexión con el servidor"_oem);
        return;
    }
    s.OSERVER->Destroy();
    s.OSERVER.reset();
    s.LCONECTADO = false;
}

}  // namespace vales
