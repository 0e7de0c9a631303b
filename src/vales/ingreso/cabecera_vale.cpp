#include "vales/ingreso/cabecera_vale.h"

#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "runtime/screen/console.h"
#include "ui/rutinas2.h"

namespace vales {
namespace {

constexpr int kAnchoNombreProducto = 50;
constexpr int kAnchoNombreFormula = 40;
constexpr const char* kMascaraCantidad = "@E 999,999,999.99";

void dibujar_marco(const FormularioCabecera& f) {
    rt::Console& c = rt::con();
    c.fill_box(2, 0, rt::kRows - 1, rt::kCols - 1, "         ", "n/n");
    c.set_colour("w/g,+r/w,,,+w/g");
    ui::BOX(3, 1, 8, 76, "+gr/g");
    c.write_at(3, f.columna_titulo, f.titulo, "+w/g");
}

// The form's texts are console text; the voucher and the lookups hold Windows-1252.
struct Campos {
    cp::Oem producto, formula;
    std::string producto_ansi() const { return cp::oem_to_ansi(producto); }
    std::string formula_ansi() const { return cp::oem_to_ansi(formula); }
};

}  // namespace

DatosCab cabecera_inicial() {
    const rt::LocalTime hoy = rt::con().now();
    DatosCab cab;
    cab.fecha = rt::Fecha::from_ymd(hoy.year, hoy.month, hoy.day).value_or(rt::Fecha{});
    return cab;
}

DatosCab cabecera_siguiente(const DatosCab& anterior) {
    DatosCab cab;
    cab.fecha = anterior.fecha;
    cab.bodega = anterior.bodega;
    return cab;
}

bool leer_cabecera(DatosCab& cab, const FormularioCabecera& formulario) {
    rt::Console& c = rt::con();
    const ConsultasCabecera& q = formulario.consultas;
    dibujar_marco(formulario);
    Campos campos{cp::ansi_to_oem(cab.producto).padded(9), cp::ansi_to_oem(cab.formula).padded(3)};

    rt::Form form;
    c.write_at(4, 2, "Fecha:");
    form.field(4, 9, cab.fecha, "dxFecha", "", [&] { return !cab.fecha.empty(); });
    c.write_at(4, 22, "Bodega:");
    form.field(4, 30, cab.bodega, "nxBodega", "999",
               [&] { return cab.bodega != 0 && q.bodega(cab.bodega); });
    c.write_at(5, 2, "Producto:");
    form.field(5, 12, campos.producto, "cxProducto", "@!", [&] {
        const std::string producto = campos.producto_ansi();
        c.write_at(5, 22, q.nombre_producto(producto).padded(kAnchoNombreProducto));
        return !campos.producto.trimmed().empty() && q.producto(producto);
    });
    c.write_at(6, 2, "Fórmula :"_oem);
    form.field(6, 12, campos.formula, "cxFormula", "@!", [&] {
        const std::string formula = campos.formula_ansi();
        c.write_at(6, 22,
                   q.nombre_formula(campos.producto_ansi(), formula).padded(kAnchoNombreFormula));
        return q.formula(campos.producto_ansi(), formula);
    });
    c.write_at(7, 2, "Cantidad:");
    form.field(7, 12, cab.cantidad, "nxCantidad", kMascaraCantidad,
               [&] { return cab.cantidad > 0; });
    c.write_at(7, 29, "Malas:");
    form.field(7, 36, cab.malas, "nxMalas", kMascaraCantidad,
               [&] { return cab.malas >= 0 && cab.malas <= cab.cantidad; });

    c.set_cursor_shape(1);
    form.read_checked(formulario.proc);
    c.set_cursor_shape(0);
    cab.producto = campos.producto_ansi();
    cab.formula = campos.formula_ansi();
    return c.last_key() != rt::key::kEsc;
}

}  // namespace vales
