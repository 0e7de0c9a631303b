#include "vales/imprimir/print_vales.h"

#include <string>

#include "datos/consulta.h"
#include "datos/sesion.h"
#include "runtime/common/codepage.h"
#include "runtime/forms/form.h"
#include "runtime/forms/mask.h"
#include "runtime/lists/alert.h"
#include "runtime/screen/console.h"
#include "runtime/screen/keys.h"
#include "ui/rutinas2.h"
#include "vales/imprimir/impresion_consola.h"

namespace vales {
namespace {

constexpr const char* kMascaraCantidad = "@E 999,999.99";
constexpr double kFilaBloqueInferior = 33;
constexpr double kColumnaCopia = 82;
// Folios listed at most in the message about folios left out.
constexpr std::size_t kFoliosEnAviso = 6;

std::string cantidad(double n) {
    // Digits, separators and blanks are the same bytes in the document's code page.
    return rt::format_with_mask(rt::Value(n), kMascaraCantidad).str();
}

std::string primeros(const std::string& texto, std::size_t n) {
    return texto.substr(0, n);
}

// The text at the same row of both copies: `izquierda` and `derecha` are the columns.
void ambas_copias(impresion::TPRINT& job, double fila, double izquierda, double derecha,
                  const std::string& texto, double puntos = 0, bool negrita = false) {
    job.PrintData(fila, izquierda, texto, {}, puntos, negrita);
    job.PrintData(fila, derecha, texto, {}, puntos, negrita);
}

// Every kFoliosPorAvance folios of a long run: where it stands, and whether the user
// pressed Esc (other keys stay for later).
bool cancelar_en(long n, long primero, long ultimo) {
    const long hechos = n - primero;
    if (hechos == 0 || hechos % kFoliosPorAvance != 0) return false;
    rt::Console& c = rt::con();
    ui::MSG(cp::Oem("Imprimiendo el vale " + std::to_string(n) + " (" + std::to_string(hechos + 1) +
                    " de " + std::to_string(ultimo - primero + 1) + ")  [Esc] Cancelar"));
    c.flush();
    if (c.next_key() != rt::key::kEsc) return false;
    c.inkey();
    return true;
}

std::string lista_de(const ResumenImpresion::Folios& folios) {
    std::string lista;
    for (long n : folios.primeros) lista += (lista.empty() ? "" : ", ") + std::to_string(n);
    if (folios.total > static_cast<long>(folios.primeros.size())) lista += ", ...";
    return lista;
}

}  // namespace

std::string sql_cabecera_vale(long folio) {
    return "select distinct vales.nume_folio, vales.fecha_prod, vales.codi_prod, "
           "vales.codi_form, vales.cantidad, vales.numero_bod, bodegas.nombre_bod, "
           "prodvtas.desc_prod, prodvtas.desc_form, prodvtas.unid_med, vales.c_estado from "
           "vales INNER JOIN prodvtas ON vales.codi_prod = prodvtas.codi_prod and "
           "prodvtas.codi_form =vales.codi_form INNER JOIN bodegas ON vales.numero_bod = "
           "bodegas.numero_bod where vales.nume_folio=" +
           std::to_string(folio);
}

std::string sql_items_vale(long folio) {
    return "select vales.codi_insu, prodcmp.desc_prod, operario.nom_oper, unidmed.desc_unid, "
           "vales.puntaje_un, vales.cantidad,vales.c_estado from vales INNER JOIN prodcmp ON "
           "vales.codi_insu = prodcmp.codi_prod INNER JOIN operario ON vales.codi_oper = "
           "operario.codi_oper INNER JOIN unidmed ON vales.codi_insu = unidmed.codi_prod and "
           "substring(vales.codi_tipo,01,03) = substring(unidmed.codi_unid,01,03) and "
           "substring(unidmed.codi_unid,04,03)=space(03) where vales.tipo_insu='I' and "
           "substring(vales.codi_insu,01,01) = '9' and vales.nume_folio =" +
           std::to_string(folio);
}

void dibujar_vale(impresion::TPRINT& job, double r, const TMySQLRow& cab, TMySQLQuery* items) {
    const std::string guiones(78, '-');
    job.PrintData(r, 0, "(Original)");
    job.PrintData(r, kColumnaCopia, "(Copia)");
    ambas_copias(job, r + 1, 0, 82, "Fecha   : " + cab.FieldGet("fecha_prod").date().text());
    ambas_copias(job, r + 1, 24, 106,
                 "Bodega: " + rt::mysql_number(cab.FieldGet("numero_bod").number()));
    ambas_copias(job, r + 1, 40, 122, "Folio Nº:"_ansi);
    // 14-point columns are wider: column 22 in 14 points stands right of column 40 in 6.
    job.PrintData(r + 1, 22, cab.FieldGet("nume_folio").number(), {}, 14, true);
    job.PrintData(r + 1, 57, cab.FieldGet("nume_folio").number(), {}, 14, true);
    ambas_copias(job, r + 2, 0, 82, "Producto:");
    ambas_copias(job, r + 2, 10, 92, cab.FieldGet("codi_prod").text());
    ambas_copias(job, r + 2, 21, 103, cab.FieldGet("desc_prod").text(), 0, true);
    ambas_copias(job, r + 3, 0, 82, "Fórmula:"_ansi);
    ambas_copias(job, r + 3, 10, 92, cab.FieldGet("codi_form").text());
    ambas_copias(job, r + 3, 21, 103, cab.FieldGet("desc_form").text(), 0, true);
    ambas_copias(job, r + 4, 0, 82, "Cantidad:");
    ambas_copias(job, r + 4, 10, 92, cantidad(cab.FieldGet("cantidad").number()), 0, true);
    ambas_copias(job, r + 5, 0, 82, guiones);
    ambas_copias(
        job, r + 6, 0, 82,
        "Actividad                 Operario             Especificación         Cantidad"_ansi);
    ambas_copias(job, r + 7, 0, 82, guiones);
    if (!items) return;
    double fila = r + 7.6;
    for (long i = 1; i <= items->LastRec(); ++i) {
        const std::optional<TMySQLRow> item = items->GetRow(i);
        if (!item) break;
        ambas_copias(job, fila, 0, 82, primeros(item->FieldGet("desc_prod").text(), 25));
        ambas_copias(job, fila, 26, 108, primeros(item->FieldGet("nom_oper").text(), 20), 0, true);
        ambas_copias(job, fila, 47, 129, primeros(item->FieldGet("desc_unid").text(), 20));
        ambas_copias(job, fila, 68, 150, cantidad(item->FieldGet("cantidad").number()));
        fila += 0.6;
    }
}

ResumenImpresion imprimir_rango(impresion::TPRINT& job, TMySQLServer& server, long primero,
                                long ultimo) {
    ResumenImpresion resumen;
    for (long n = primero; n <= ultimo && !job.lPrError(); ++n) {
        if (cancelar_en(n, primero, ultimo)) {
            resumen.cancelado = true;
            break;
        }
        auto cab = datos::consulta(&server, sql_cabecera_vale(n));
        // A folio without voucher gives no row: the query then reads as a row of empty
        // values, and its block prints empty with zeros.
        const std::optional<TMySQLRow> fila = datos::fallo(cab) ? std::nullopt : cab->GetRow(1);
        if (!fila) {
            resumen.sin_leer.agregar(n);
            continue;
        }
        ++resumen.impresos;
        double r = 0;
        if (resumen.impresos % 2 == 1) {
            job.BeginPage();
            job.SetCpl(160);
        } else {
            r = kFilaBloqueInferior;
        }
        auto items = datos::consulta(&server, sql_items_vale(n));
        if (datos::fallo(items)) resumen.sin_actividades.agregar(n);
        dibujar_vale(job, r, *fila, datos::fallo(items) ? nullptr : &*items);
        if (resumen.impresos % 2 == 0) job.EndPage();
    }
    if (resumen.impresos % 2 == 1) job.EndPage();
    return resumen;
}

void ResumenImpresion::Folios::agregar(long folio) {
    ++total;
    if (primeros.size() < kFoliosEnAviso) primeros.push_back(folio);
}

void avisar_resumen(const ResumenImpresion& resumen) {
    std::string aviso;
    if (resumen.sin_leer.total > 0) {
        aviso = "No se pudieron leer del servidor " + std::to_string(resumen.sin_leer.total) +
                " vale(s): no se imprimieron;Folios: " + lista_de(resumen.sin_leer);
    }
    if (resumen.sin_actividades.total > 0) {
        if (!aviso.empty()) aviso += ';';
        aviso += std::to_string(resumen.sin_actividades.total);
        aviso +=
            " vale(s) se imprimieron sin sus actividades: el servidor no las entregó;Folios: "_ansi;
        aviso += lista_de(resumen.sin_actividades);
    }
    if (!aviso.empty()) rt::alert(cp::ansi_to_oem(aviso));
}

void PRINTVALE(const std::string& destino, long primero, long ultimo) {
    datos::Sesion& s = datos::ses();
    impresion::TPRINT job(destino, opciones_impresion(s.CARPETA_TEMP));
    job.Init();
    job.SelPrinter(true, false, false, 1);
    if (job.lPrError()) {
        job.Release();
        return;
    }
    job.SetPreviewSize(2.5);
    job.BeginDoc("Vale produccion");
    ResumenImpresion resumen;
    if (s.OSERVER) {
        resumen = imprimir_rango(job, *s.OSERVER, primero, ultimo);
    } else {
        ui::MSGBOX("No existe una conexión con el servidor"_oem);
    }
    if (resumen.cancelado) {
        job.Release();
        rt::alert("Impresión cancelada: no se imprimió ningún vale"_oem);
        return;
    }
    avisar_resumen(resumen);
    job.EndDoc();
    job.Release();
}

}  // namespace vales
