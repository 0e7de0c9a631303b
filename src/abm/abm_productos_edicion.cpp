// The product form: read from the server, shown and edited in a form with its
// observations, and stored after a confirmation.
#include "abm/abm_productos_edicion.h"

#include <optional>
#include <string>
#include <vector>

#include "abm/abm_rutinas.h"
#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "abm/gencodigo.h"
#include "abm/observaciones.h"
#include "abm/productos_tabla.h"
#include "datos/escritura.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/forms/form.h"
#include "runtime/forms/mask.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

constexpr std::string_view kMascaraCosto = "@E 999,999,999.99";

// The values of the form. Code and formula are the key as stored; the texts are console
// texts as wide as their columns.
struct Producto {
    std::string codigo, formula;
    cp::Oem codigo_pantalla, formula_pantalla;
    cp::Oem descripcion, detalle, unidad, formula_rel{"---"};
    double cantidad = 1, moneda = 1, cuenta = 0, peso = 0, stock_min = 0, stock_max = 0;
    double costo = 0;
    std::string observaciones;  // as stored
    // The texts as stored, written back unchanged while their fields are not edited.
    std::string descripcion_guardada, detalle_guardado, unidad_guardada, formula_rel_guardada;
    std::vector<std::string> leidos;  // the columns the form writes, as read
};

// What the form writes: a save stores it only while the row still holds what was read.
const std::vector<std::string> kColumnasDelFormulario = {
    "desc_prod", "desc_form", "unid_med", "moneda",        "cuenta", "peso",
    "stock_min", "stock_max", "cantidad", "codi_form_rel", "observ"};

std::string donde(std::string_view codigo, std::string_view formula) {
    return "where codi_prod='" + sqltexto(codigo) + "' and codi_form='" + sqltexto(formula) + "'";
}

cp::Oem texto_de(const TMySQLRow& fila, std::string_view columna, std::size_t ancho) {
    return cp::ansi_to_oem(fila.FieldGet(columna).text()).padded(ancho);
}

// The product as stored, or for a new one the blank values as wide as their columns
// (which the server describes even when the catalogue has no row yet).
std::optional<Producto> leer_producto(std::string_view codigo, std::string_view formula,
                                      bool nuevo) {
    auto res = consulta(nuevo ? std::string("select * from prodvtas limit 1")
                              : "select * from prodvtas " + donde(codigo, formula));
    if (fallo(res)) {
        mostrar_error(res);
        return std::nullopt;
    }
    if (!nuevo && res->LastRec() != 1) {
        ui::MSGBOX("Error en base de datos...");
        return std::nullopt;
    }
    auto ancho = [&](std::string_view columna, std::size_t omision) {
        return ancho_columna(*res, columna, omision);
    };
    Producto p;
    if (nuevo) {
        p.codigo = std::string(codigo);
        p.formula = std::string(ancho("codi_form", 3), ' ');
        p.descripcion = cp::Oem(ancho("desc_prod", 50), ' ');
        p.detalle = cp::Oem(ancho("desc_form", 50), ' ');
        p.unidad = cp::Oem(ancho("unid_med", 3), ' ');
    } else {
        const TMySQLRow fila = *res->GetRow(1);
        p.codigo = fila.FieldGet("codi_prod").text();
        p.formula = fila.FieldGet("codi_form").text();
        p.descripcion = texto_de(fila, "desc_prod", ancho("desc_prod", 50));
        p.detalle = texto_de(fila, "desc_form", ancho("desc_form", 50));
        p.unidad = texto_de(fila, "unid_med", ancho("unid_med", 3));
        p.cantidad = fila.FieldGet("cantidad").number();
        p.moneda = fila.FieldGet("moneda").number();
        p.cuenta = fila.FieldGet("cuenta").number();
        p.formula_rel = texto_de(fila, "codi_form_rel", 3);
        p.peso = fila.FieldGet("peso").number();
        p.stock_min = fila.FieldGet("stock_min").number();
        p.stock_max = fila.FieldGet("stock_max").number();
        p.costo = fila.FieldGet("costo_cst").number();
        p.observaciones = fila.FieldGet("observ").text();
        p.descripcion_guardada = fila.FieldGet("desc_prod").text();
        p.detalle_guardado = fila.FieldGet("desc_form").text();
        p.unidad_guardada = fila.FieldGet("unid_med").text();
        p.formula_rel_guardada = fila.FieldGet("codi_form_rel").text();
        p.leidos = datos::textos(fila, kColumnasDelFormulario);
    }
    p.codigo_pantalla = cp::ansi_to_oem(p.codigo);
    p.formula_pantalla = cp::ansi_to_oem(p.formula);
    return p;
}

// Writes a label and gives the column of the field that follows it (one blank between).
int etiqueta(int fila, int col, cp::OemView texto, std::string_view color = {}) {
    rt::con().write_at(fila, col, texto, color);
    return col + static_cast<int>(texto.size()) + 1;
}

// The column just after a field of that mask or width.
int tras(int col, std::string_view mascara) {
    return col + rt::Picture(mascara, rt::Value(0.0)).width();
}

void declarar_campos(rt::Form& form, Producto& p) {
    const auto nunca = [] { return false; };
    const auto no_negativo = [](const double& v) { return [&v] { return v >= 0; }; };
    const auto con_texto = [](const cp::Oem& v) { return [&v] { return !v.trimmed().empty(); }; };
    constexpr int c = 23;
    form.field(5, etiqueta(5, c, "Codigo:"), p.codigo_pantalla, "cxCodigo", "@!", {}, nunca);
    form.field(6, etiqueta(6, c, "Descripción:"_oem), p.descripcion, "cxDescrip", "",
               con_texto(p.descripcion));
    form.field(8, etiqueta(8, c, "Fórmula:"_oem), p.formula_pantalla, "cxFormula", "@!", {}, nunca);
    form.field(9, etiqueta(9, c, "Detalle:"), p.detalle, "dxFormula", "", con_texto(p.detalle));
    const int unidad = etiqueta(11, c, "U.Medida:");
    form.field(11, unidad, p.unidad, "cxUnidad", "", con_texto(p.unidad));
    const int cantidad =
        etiqueta(11, unidad + static_cast<int>(p.unidad.size()) + 5, "Cant. de unidades:");
    form.field(11, cantidad, p.cantidad, "nxCantidad", kMascaraCosto,
               [&p] { return p.cantidad >= 1; });
    form.field(12, etiqueta(12, c, "Moneda  :"), p.moneda, "nxMoneda", "9",
               [&p] { return p.moneda == 1 || p.moneda == 2; });
    form.field(13, etiqueta(13, c, "Cuenta  :"), p.cuenta, "nxCuenta", "999",
               no_negativo(p.cuenta));
    form.field(15, etiqueta(15, c, "Fórmula asociada ('---' = ninguno):"_oem), p.formula_rel,
               "cxCodiForm_rel", "!!!",
               [&p] { return p.formula_rel != cp::ansi_to_oem(p.formula).padded(3); });
    const int peso = etiqueta(17, c, "Peso:");
    form.field(17, peso, p.peso, "nxPeso", "@E 9,999,999.99", no_negativo(p.peso));
    const int minimo = etiqueta(17, tras(peso, "@E 9,999,999.99") + 3, "Stock Min:");
    form.field(17, minimo, p.stock_min, "nxStk_Min", "@E 999,999.99", no_negativo(p.stock_min));
    const int maximo = etiqueta(17, tras(minimo, "@E 999,999.99") + 3, "Stock Max:");
    form.field(17, maximo, p.stock_max, "nxStk_Max", "@E 999,999.99", no_negativo(p.stock_max));
}

void mostrar_costo(const Producto& p) {
    rt::Console& c = rt::con();
    const int col = etiqueta(19, 23, "Costo:");
    if (SISTEMA_PERMITE("acc_ver_costos", {}, false)) {
        c.write_at(19, col, rt::format_with_mask(rt::Value(p.costo), kMascaraCosto), "w/n");
        const int fecha = etiqueta(19, tras(col, kMascaraCosto) + 3, "Ultimo proceso de calculo:");
        c.write_at(19, fecha, cp::Oem(ULTPROCESO().text()), "w/n");
    } else {
        c.write_at(19, col + 3, "(No autorizado para ver esta información)"_oem, "+w/n");
    }
}

void dibujar(bool nuevo) {
    rt::Console& c = rt::con();
    ui::BOX(4, 22, 33, 98, "+bg/n");
    c.write_at(4, 23, nuevo ? cp::OemView("<Agregar>") : cp::OemView("<Modificar>"), "+gr/n");
    for (int fila : {10, 14, 16, 18, 20}) ui::DISPLINEA(fila, 22, 98, "+bg/n");
    c.write_at(21, 23, "Observaciones:", "+w/n");
}

std::string sentencia(const Producto& p, const std::string& observaciones, bool nuevo) {
    // Typed texts go in the server's code page, without the blanks that fill their fields;
    // a text left as it was goes back as it was stored.
    auto texto = [](const cp::Oem& v, const std::string& guardado) {
        return sqltexto(cp::oem_to_ansi_keeping(v.right_trimmed(), rt::rtrim(guardado)));
    };
    const std::string campos =
        "codi_prod='" + sqltexto(p.codigo) + "'," + "codi_form='" + sqltexto(p.formula) + "'," +
        "desc_prod='" + texto(p.descripcion, p.descripcion_guardada) + "'," + "desc_form='" +
        texto(p.detalle, p.detalle_guardado) + "'," + "unid_med='" +
        texto(p.unidad, p.unidad_guardada) + "'," + "moneda=" + sqlnum(p.moneda) + "," +
        "cuenta=" + sqlnum(p.cuenta) + "," + "peso=" + sqlnum(p.peso) + "," +
        "stock_min=" + sqlnum(p.stock_min) + "," + "stock_max=" + sqlnum(p.stock_max) + ", " +
        "cantidad=" + sqlnum(p.cantidad) + ", " + "codi_form_rel='" +
        texto(p.formula_rel, p.formula_rel_guardada) + "', " + "observ='" +
        sqltexto(observaciones) + "' ";
    if (nuevo) return "Insert into prodvtas set l_activo=true, " + campos;
    return "update prodvtas set " + campos + donde(p.codigo, p.formula);
}

// A new product is inserted; a change is written only over what the form read, so that a
// change another user stored meanwhile is never undone without a word.
datos::Escritura guardar(const Producto& p, const std::string& observaciones, bool nuevo) {
    const std::string cambio = sentencia(p, observaciones, nuevo);
    if (nuevo) return escribir(cambio);
    std::string columnas;
    for (const std::string& c : kColumnasDelFormulario)
        columnas += (columnas.empty() ? "" : ", ") + c;
    return escribir_si_sigue_igual(
        "select " + columnas + " from prodvtas " + donde(p.codigo, p.formula), p.leidos, cambio);
}

// The list's work table shows the stored product: a new one as a row of its own.
void reflejar_en_lista(const Producto& p, bool nuevo) {
    rt::wt::WorkTable* t = rt::wt::workspace().current();
    if (!t || !es_tabla_de_productos(*t)) return;
    if (nuevo) {
        t->append();
        t->set_text("CODI_FORM", p.formula_pantalla.str());
        t->set_logical("L_ACTIVO", true);
    }
    t->set_text("CODIGO", p.codigo_pantalla.str());
    t->set_text("DESCRIP", p.descripcion.str());
    t->set_text("DESC_FORM", p.detalle.str());
    if (nuevo) releer_marcas(*t, p.codigo, p.formula);
}

void anunciar(const Producto& p) {
    if (!hay_filas(consulta("select * from familias where codi_familia='" +
                            sqltexto(p.codigo.substr(0, 1)) +
                            "' and codi_subfamilia='00' and tipo_estado='T'")))
        return;
    if (ui::CONFIRMA("Desea enviar mail anunciando nuevo producto"))
        MAILNUEVOPRODUCTO(p.codigo, p.formula, cp::oem_to_ansi(p.descripcion),
                          cp::oem_to_ansi(p.detalle));
}

}  // namespace

bool EDIT_PRODUCTOS(std::string_view codigo, std::string_view formula, bool puede_modificar) {
    ui::Resguardo resguardo("+g/n,+w/r,,,w/n");
    const bool nuevo = codigo.empty();
    std::string generado;
    if (nuevo) {
        generado = GENCODIGO();
        if (generado.empty() || CODREPETIDO(generado)) return false;
    }
    for (;;) {
        std::optional<Producto> leido = leer_producto(nuevo ? generado : codigo, formula, nuevo);
        if (!leido) return false;
        Producto p = *leido;

        dibujar(nuevo);
        rt::Form form;
        declarar_campos(form, p);
        mostrar_costo(p);
        Observaciones obs(cp::ansi_to_oem(p.observaciones), rt::MemoWindow{22, 23, 32, 97});
        if (!obs.leer(form, "EDIT_PRODUCTOS", puede_modificar, 33, 44,
                      " [Control+W] Grabar      [Esc] Salir "))
            return false;
        if (!ui::CONFIRMA("Confirma actualizar")) return false;

        const datos::Escritura e =
            guardar(p, cp::oem_to_ansi_keeping(obs.texto(), p.observaciones), nuevo);
        if (e.estado == datos::Escritura::cambiada) {
            // Shown again as the other user left it.
            ui::MSGBOX("El producto fue modificado por otro usuario: se vuelve a leer");
            continue;
        }
        if (!grabacion_hecha(e, Aviso::alerta)) return false;
        reflejar_en_lista(p, nuevo);
        if (nuevo) anunciar(p);
        return true;
    }
}

bool CODREPETIDO(std::string_view codigo) {
    const bool repetido = hay_filas(consulta("select codi_prod from prodvtas where codi_prod='" +
                                             sqltexto(codigo) + "' and codi_form=space(03)"));
    if (repetido) ui::MSGBOX("Código ya existe"_oem);
    return repetido;
}

rt::Fecha ULTPROCESO() {
    auto res = consulta("select fech_cst from paramet");
    if (fallo(res) || res->LastRec() == 0) return {};
    return res->FieldGet("fech_cst").date();
}

void MAILNUEVOPRODUCTO(std::string_view, std::string_view, std::string_view, std::string_view) {}

}  // namespace abm
