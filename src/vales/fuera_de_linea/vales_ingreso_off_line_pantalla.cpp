// The screens of the off-line voucher entry: the header form checked against the off-line
// store's copies, the formula's activities read from it, and the item list whose handler
// edits, splits and stores the voucher there, pending until it is sent.
#include <optional>
#include <string>

#include "datos/vales_locales.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"
#include "vales/fuera_de_linea/vales_help_off_line.h"
#include "vales/fuera_de_linea/vales_ingreso_off_line.h"
#include "vales/fuera_de_linea/vales_rutinas.h"
#include "vales/ingreso/cabecera_vale.h"
#include "vales/ingreso/lista_items.h"
#include "vales/ingreso/operacion_en_curso.h"

namespace vales {
namespace {

constexpr const char* kProc = "VALES_INGRESO_OFF_LINE";

FormularioCabecera formulario_off_line(rt::TODBC& RS) {
    FormularioCabecera f;
    f.titulo = cp::Oem("< Ingreso de Vales OFF-LINE >");
    f.columna_titulo = 47;
    f.proc = kProc;
    f.consultas.bodega = [&RS](double n) { return MDB_EXISTE_BODEGA(RS, n, false, true); };
    f.consultas.nombre_producto = [&RS](const std::string& p) {
        return MDB_NOMBRE_PRODUCTO(RS, p);
    };
    f.consultas.producto = [&RS](const std::string& p) {
        return MDB_EXISTE_PRODUCTO(RS, p, false, true);
    };
    f.consultas.nombre_formula = [&RS](const std::string& p, const std::string& f) {
        return MDB_NOMBRE_FORMULA(RS, p, f);
    };
    f.consultas.formula = [&RS](const std::string& p, const std::string& f) {
        return MDB_EXISTE_FORMULA(RS, p, f, false, true);
    };
    return f;
}

enum class Actividades { kLeidas, kNinguna, kError };

// The formula's activities, from the store's copies, into the voucher records.
Actividades leer_actividades(rt::TODBC& RS, ValeEnCurso& vale, const DatosCab& cab) {
    RS.SetSQL(
        "select formulas.prd_buy as codigo_actividad, formulas.consumo as cantidad_actividad, "
        "prodcmp.unid_med as unidad_actividad, prodcmp.desc_prod as nombre_actividad from "
        "formulas, prodcmp where prd_sale='" +
        rt::mdb_quote(cab.producto + cab.formula) +
        "' and formulas.prd_buy = prodcmp.codi_prod and formulas.tipo_prd = 'I' and "
        "left(prodcmp.codi_prod,1)='9' ");
    Actividades leidas = Actividades::kError;
    if (RS.Open()) {
        leidas = RS.LastRec() == 0 ? Actividades::kNinguna : Actividades::kLeidas;
        if (leidas == Actividades::kLeidas) empezar_vale(vale, cab);
        for (RS.First(); !RS.Eof(); RS.Skip()) {
            agregar_actividad(vale, cp::ansi_to_oem(RS.FieldValue("NOMBRE_ACTIVIDAD")),
                              RS.FieldValue("CODIGO_ACTIVIDAD"),
                              rt::store_number(RS.FieldValue("CANTIDAD_ACTIVIDAD")));
        }
    }
    RS.Close();
    return leidas;
}

std::optional<Especificaciones> especificaciones_de(rt::TODBC& RS, const std::string& actividad) {
    RS.SetSQL("select left(codi_unid,3) as codigo, desc_unid from unidmed where codi_prod ='" +
              rt::mdb_quote(actividad) +
              "' and len(trim(mid(codi_unid,1,3)))>=01 and mid(codi_unid,4,3)=space(03) order "
              "by desc_unid");
    std::optional<Especificaciones> e;
    if (!RS.Open()) {
        ui::MSGBOX("No se puede leer formula de producto");
    } else if (RS.LastRec() == 0) {
        ui::MSGBOX("Actividad no posee especificaciones definidas");
    } else {
        e.emplace();
        for (RS.First(); !RS.Eof(); RS.Skip()) {
            e->nombres.push_back(cp::ansi_to_oem(RS.FieldValue("DESC_UNID")));
            e->codigos.push_back(rt::pad_right(RS.FieldValue("CODIGO"), 3));
        }
    }
    RS.Close();
    return e;
}

// F8 once every item has an operator: the voucher is stored, pending.
bool grabar_en_almacen(rt::TODBC& RS, ValeEnCurso& vale) {
    if (!GRABARVALE_LOCAL(RS, vale.aDatosCab, vale.aDatosItm)) return false;
    ui::MSGBOX("Vale de producción grabado correctamente"_oem);
    return true;
}

ComandosItem comandos_off_line(rt::TODBC& RS) {
    ComandosItem c;
    c.especificaciones = [&RS](const std::string& a) { return especificaciones_de(RS, a); };
    c.operario.nombre = [&RS](double n) { return MDB_NOMBRE_OPERARIO(RS, n); };
    c.operario.valido = [&RS](double n) {
        return MDB_EXISTE_OPERARIO(RS, n, false, true) && MDB_OPERARIO_ACTIVO(RS, n, false, true);
    };
    c.grabar = [&RS](ValeEnCurso& vale) { return grabar_en_almacen(RS, vale); };
    c.proc = "CTRL_ITEM2";
    return c;
}

}  // namespace

void VALES_INGRESO_OFF_LINE() {
    VALES_INGRESO_OFF_LINE(rt::offline_connection_string());
}

void VALES_INGRESO_OFF_LINE(const std::string& conexion_local) {
    OperacionEnCurso operacion;
    rt::TODBC RS(conexion_local);
    // A store that cannot be opened (missing, unreadable, without its SQL functions) would
    // refuse every warehouse as unknown.
    if (!RS.Connected()) {
        ui::MSGBOX("ERROR: No se puede abrir la base de datos local " +
                   cp::Oem(std::string(rt::kOfflineStoreFile)));
        return;
    }
    // An older store gets the identities of vouchers, so that those typed now have theirs
    // (without them a voucher is still stored, and named by its content when sent).
    datos::asegurar_identidad_de_vales(RS);
    operacion.instalar_ayuda([&RS](const std::string& proc, int line, const std::string& campo) {
        VALES_HELP_OFF_LINE(RS, proc, line, campo);
    });

    const FormularioCabecera formulario = formulario_off_line(RS);
    ValeEnCurso vale;
    DatosCab cab = cabecera_inicial();
    for (;;) {
        cab = cabecera_siguiente(cab);
        if (!leer_cabecera(cab, formulario)) break;
        const Actividades leidas = leer_actividades(RS, vale, cab);
        if (leidas == Actividades::kError) {
            ui::MSGBOX("No se puede leer formula de producto");
            break;
        }
        if (leidas == Actividades::kNinguna) {
            ui::MSGBOX("Fórmula de producción no contiene actividades"_oem);
            continue;
        }
        dibujar_lista_items();
        recorrer_items(
            vale,
            [&vale, &RS](int mode, int item, int row) {
                return CTRL_ITEM2(vale, RS, mode, item, row);
            },
            kProc);
    }
    RS.Close();
}

int CTRL_ITEM2(ValeEnCurso& vale, rt::TODBC& RS, int /*mode*/, int item, int /*row*/) {
    return manejar_item(vale, item, comandos_off_line(RS));
}

}  // namespace vales
