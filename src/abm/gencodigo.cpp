// The product code generator: its screen, the steps that compose a code, and the list of
// the products that match the code chosen so far.
#include "abm/gencodigo.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "abm/catalogo_sql.h"
#include "abm/consulta_sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/common/texto.h"
#include "runtime/lists/pick_list.h"
#include "runtime/screen/console.h"
#include "ui/resguardo.h"
#include "ui/rutinas2.h"

namespace abm {

namespace {

ListasCodificacion& listas() {
    static ListasCodificacion l;
    return l;
}

constexpr std::size_t kLargoCodigo = 9;

// The key to the code layout: each group of positions, its colour, and the row where the
// line from it ends in the group's name.
struct Grupo {
    int col, ancho;
    std::string_view color;
    int fila_nombre;
    std::string_view nombre;
};
constexpr std::array<Grupo, 4> kGrupos{{
    {2, 3, "+bg/n", 18, ">Familias/Subfamilias"},
    {5, 2, "+gr/n", 15, ">Materiales o Tipo"},
    {7, 2, "+g/n", 13, ">Formatos/Mallas"},
    {9, 2, "+w/n", 11, ">Tipo Embalaje"},
}};

cp::OemView oem(std::string_view ascii) {
    return cp::OemView::cp850(ascii);
}

void dibujar_pantalla() {
    rt::Console& c = rt::con();
    c.fill_box(3, 0, rt::kRows - 1, rt::kCols - 1, cp::Oem(std::string(9, ' ')), "w/b");
    ui::BOX(4, 1, 33, 24, "g/n");
    c.write_at(5, 2, "<Generar nuevo código>"_oem, "w/n");
    for (const Grupo& g : kGrupos) {
        c.write_at(8, g.col, cp::Oem(std::string(static_cast<std::size_t>(g.ancho), 'X')), g.color);
        // ┬ then ─, built by append: GCC 12 at -O3 warns falsely on a literal + string.
        std::string debajo(1, '\xC2');
        debajo.append(static_cast<std::size_t>(g.ancho - 1), '\xC4');
        c.write_at(9, g.col, cp::Oem(std::move(debajo)), g.color);
        for (int fila = 10; fila < g.fila_nombre; ++fila)
            c.write_at(fila, g.col, oem("\xB3"), g.color);
        c.write_at(g.fila_nombre, g.col, oem("\xC0") + oem(g.nombre), g.color);
    }
    ui::DISPLINEA(19, 1, 24, "g/n");
    c.write_at(21, 2, "Productos que cumplen", "w/n");
    c.write_at(22, 2, "con código parcial"_oem, "w/n");
    c.write_at(24, 2, "[F2]Ver productos", "w/n");
    ui::DISPLINEA(26, 1, 24, "g/n");
}

// The partial code above the key, and the three lines that name the step.
void paso(const std::string& codigo, std::array<std::string_view, 3> lineas,
          std::string_view color) {
    rt::Console& c = rt::con();
    c.write_at(7, 2, cp::ansi_to_oem(rt::pad_right(codigo, kLargoCodigo)), "w/n");
    c.fill_box(29, 2, 31, 23, cp::Oem(std::string(9, ' ')), "n/n");
    for (int i = 0; i < 3; ++i)
        c.write_at(29 + i, 4, oem(lineas[static_cast<std::size_t>(i)]), color);
}

std::string texto_de(std::string_view sql, std::string_view columna) {
    auto res = consulta(sql);
    if (fallo(res) || res->LastRec() == 0) return {};
    return rt::trim(res->FieldGet(columna).text());
}

std::string familias_donde(std::string_view familia, std::string_view subfamilia) {
    return "select * from familias where codi_familia='" + sqltexto(familia) +
           "' and codi_subfamilia='" + sqltexto(subfamilia) + "' ";
}

std::optional<char> formato(const std::string& tipo) {
    if (tipo == "F" || tipo == "M") return tipo[0];
    return std::nullopt;
}

// Whether the family uses formats ("F") or meshes ("M"): its own subfamily row, else the
// same subfamily of its mirror among the product families, else (without such a mirror)
// the row of its mirror among the component families.
std::optional<char> tipo_de_formato(const std::string& codigo) {
    const std::string familia = codigo.substr(0, 1), subfamilia = codigo.substr(1, 2);
    const std::string base =
        "from familias where codi_familia='" + sqltexto(familia) + "' and codi_subfamilia='00'";
    const std::string espejo = texto_de("select codi_espejo " + base, "codi_espejo");
    const std::string espejo_insumos =
        texto_de("select codi_espejo_insumos " + base, "codi_espejo_insumos");
    if (auto f = formato(texto_de(familias_donde(familia, subfamilia), "tipo_formato"))) return f;
    if (!espejo.empty())
        return formato(texto_de(familias_donde(espejo, subfamilia), "tipo_formato"));
    if (!espejo_insumos.empty())
        return formato(texto_de("select * from familias_insumos where codi_familia='" +
                                    sqltexto(espejo_insumos) + "' and codi_subfamilia='" +
                                    sqltexto(codigo.substr(1, 1)) + "' and codi_subsub_familia='0'",
                                "tipo_formato"));
    return std::nullopt;
}

// Appends what a list chose; an empty choice empties the code.
void agregar(std::string& codigo, const std::string& elegido) {
    if (elegido.empty())
        codigo.clear();
    else
        codigo += elegido;
}

}  // namespace

std::string ABM_FAMILIAS(const TeclaExtra&) {
    return {};
}
std::string ABM_MALLAS(const TeclaExtra&) {
    return {};
}
std::string ABM_FORMATOS(const TeclaExtra&) {
    return {};
}
std::string ABM_EMBALAJES(const TeclaExtra&) {
    return {};
}

ListasCodificacion instalar_listas_codificacion(ListasCodificacion nuevas) {
    return std::exchange(listas(), std::move(nuevas));
}

std::string GENCODIGO() {
    ui::Resguardo resguardo;
    rt::Console& c = rt::con();
    std::string codigo;
    const TeclaExtra f2{rt::key::kF2, [&codigo] { VERDETCUMPLEN(codigo); }};
    const rt::KeyHandler f2_anterior = c.set_key_handler(
        rt::key::kF2,
        [&codigo](const std::string&, int, const std::string&) { VERDETCUMPLEN(codigo); });
    const ListasCodificacion l = listas();
    dibujar_pantalla();

    paso(codigo, {"Seleccione         ", "Familia, Subfamilia", "y tipo de Material "}, "+bg/n");
    agregar(codigo, l.familias(f2));

    std::optional<char> tipo;
    if (!codigo.empty()) {
        tipo = codigo.size() >= 3 ? tipo_de_formato(codigo) : std::nullopt;
        if (!tipo) {
            ui::MSGBOX("ERROR: Debe definir si familia usa Formatos o Mallas");
            codigo.clear();
        }
    }
    if (codigo.size() == 5 && tipo == 'M') {
        paso(codigo, {"Seleccione   ", "Malla        ", "Superior     "}, "+g/n");
        agregar(codigo, l.mallas(f2));
        if (!codigo.empty()) {
            paso(codigo, {"Seleccione   ", "Malla        ", "Inferior     "}, "+g/n");
            agregar(codigo, l.mallas(f2));
        }
    } else if (codigo.size() == 5 && tipo == 'F') {
        paso(codigo, {"Seleccione   ", "Formato de   ", "Producto     "}, "+g/n");
        agregar(codigo, l.formatos(f2));
    }
    if (codigo.size() == 7) {
        const std::string estado =
            texto_de("select tipo_estado from familias where codi_familia='" +
                         sqltexto(codigo.substr(0, 1)) + "' and codi_subfamilia='00'",
                     "tipo_estado");
        if (estado == "P") {
            paso(codigo, {"Seleccione   ", "Proceso      ", ""}, "+w/n");
            const std::string proceso = ABM_PROCESOS(true, false, f2);
            agregar(codigo, proceso.empty() ? proceso : proceso + "0");
        } else {
            paso(codigo, {"Seleccione   ", "Embalaje y   ", "SubEmbalaje  "}, "+w/n");
            agregar(codigo, l.embalajes(f2));
        }
    }

    c.set_key_handler(rt::key::kF2, f2_anterior);
    // A list that gave a part of another width leaves a code that is not one.
    if (codigo.size() != kLargoCodigo) codigo.clear();
    return codigo;
}

void VERDETCUMPLEN(std::string_view parcial) {
    if (parcial.empty()) return;
    rt::Console& c = rt::con();
    const rt::KeyHandler f2 = c.set_key_handler(rt::key::kF2);
    {
        ui::Resguardo resguardo("+w/n,+w/bg");
        auto res = consulta("select codi_prod, desc_prod from prodvtas where left(codi_prod," +
                            std::to_string(parcial.size()) + ")='" + sqltexto(parcial) +
                            "' and codi_form=space(03)");
        if (fallo(res)) {
            mostrar_error(res);
        } else if (res->LastRec() == 0) {
            ui::MSGBOX("ADVERTENCIA: No existen registros");
        } else {
            std::vector<cp::Oem> items;
            for (long n = 1; n <= res->LastRec(); ++n) {
                const auto fila = res->GetRow(n);
                items.push_back(cp::ansi_to_oem(fila->FieldGet("codi_prod").text()) + " " +
                                cp::ansi_to_oem(fila->FieldGet("desc_prod").text()).substr(0, 50));
            }
            ui::BOX(4, 26, 33, 98, "+g/n");
            c.write_at(33, 27, oem("[\x18][\x19]"), "+g/n");
            rt::pick_list(5, 27, 32, 97, items);
        }
    }
    c.set_key_handler(rt::key::kF2, f2);
}

}  // namespace abm
