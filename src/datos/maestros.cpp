#include "datos/maestros.h"

#include "datos/almacen.h"
#include "datos/consulta.h"
#include "runtime/common/texto.h"

namespace datos {

// --- on the server ------------------------------------------------------------------------

std::optional<TMySQLQuery> MaestrosServidor::leer(const std::string& sql, Fallo* fallo) {
    auto q = consulta(servidor_, sql);
    if (!datos::fallo(q)) return q;
    if (fallo) {
        fallo->numero = q ? q->ErrorNo() : 0;
        fallo->texto = q ? q->Error() : std::string(rt::kNoConnection);
        fallo->sentencia = sql;
    }
    return std::nullopt;
}

std::optional<std::string> MaestrosServidor::primer_valor(const std::string& sql) {
    auto q = leer(sql);
    if (!q || q->LastRec() == 0) return std::nullopt;
    return q->FieldGet(1).text();
}

std::string MaestrosServidor::texto(std::string_view valor) const {
    return texto_sql(servidor_, valor);
}

std::optional<bool> MaestrosServidor::bodega(double numero) {
    auto q = leer("select l_activo from bodegas where numero_bod=" + numero_sql(numero));
    if (!q || q->LastRec() == 0) return std::nullopt;
    return q->FieldGet(1).logical();
}

bool MaestrosServidor::producto(std::string_view codigo) {
    auto q = leer("select * from prodvtas where codi_prod='" + texto(codigo) + "'");
    return q && q->LastRec() > 0;
}

bool MaestrosServidor::formula(std::string_view producto, std::string_view formula) {
    auto q = leer("select * from prodvtas where codi_prod='" + texto(producto) +
                  "' and codi_form='" + texto(formula) + "'");
    return q && q->LastRec() > 0;
}

bool MaestrosServidor::operario(double numero) {
    auto q = leer("select * from operario where codi_oper=" + numero_sql(numero));
    return q && q->LastRec() > 0;
}

std::optional<bool> MaestrosServidor::operario_activo(double numero) {
    auto q = leer("select ope_activo from operario where codi_oper=" + numero_sql(numero));
    if (!q || q->LastRec() == 0) return std::nullopt;
    return q->FieldGet(1).logical();
}

std::optional<std::string> MaestrosServidor::nombre_producto(std::string_view codigo) {
    return primer_valor("select desc_prod from prodvtas where codi_prod='" + texto(codigo) + "'");
}

std::optional<std::string> MaestrosServidor::nombre_formula(std::string_view producto,
                                                            std::string_view formula) {
    return primer_valor("select desc_form from prodvtas where codi_prod='" + texto(producto) +
                        "' and codi_form='" + texto(formula) + "'");
}

std::optional<std::string> MaestrosServidor::nombre_operario(double numero) {
    return primer_valor("select nom_oper from operario where codi_oper=" + numero_sql(numero));
}

std::optional<std::string> MaestrosServidor::unidad_medida(std::string_view tipo,
                                                           std::string_view codigo,
                                                           std::string_view formula) {
    return primer_valor(tipo == "I"
                            ? "select unid_med from prodcmp where codi_prod='" + texto(codigo) + "'"
                            : "select unid_med from prodvtas where codi_prod='" + texto(codigo) +
                                  "' and codi_form='" + texto(formula) + "'");
}

std::optional<std::vector<Actividad>> MaestrosServidor::actividades(const DatosCab& cab,
                                                                    Fallo& fallo) {
    auto q = leer(
        "select formulas.prd_buy as codigo_actividad, formulas.consumo as cantidad_actividad, "
        "prodcmp.unid_med as unidad_actividad, prodcmp.desc_prod as nombre_actividad from "
        "formulas inner join prodcmp on formulas.prd_buy = prodcmp.codi_prod and "
        "formulas.tipo_prd = 'I' and left(prodcmp.codi_prod,1)='9' where prd_sale='" +
            texto(cab.producto + cab.formula) + "' ",
        &fallo);
    if (!q) return std::nullopt;
    std::vector<Actividad> out;
    for (long n = 1; n <= q->LastRec(); ++n) {
        const auto fila = q->GetRow(n);
        out.push_back({fila->FieldGet("codigo_actividad").text(),
                       fila->FieldGet("cantidad_actividad").number(),
                       fila->FieldGet("nombre_actividad").text()});
    }
    return out;
}

std::optional<std::vector<Especificacion>> MaestrosServidor::especificaciones(
    std::string_view actividad, Fallo& fallo) {
    auto q =
        leer("select left(codi_unid,3) as codigo, desc_unid from unidmed where codi_prod ='" +
                 texto(actividad) +
                 "' and length(trim(substring(codi_unid,1,3)))>=01 and substring(codi_unid,4,3)="
                 "space(03) order by desc_unid",
             &fallo);
    if (!q) return std::nullopt;
    std::vector<Especificacion> out;
    for (long n = 1; n <= q->LastRec(); ++n) {
        const auto fila = q->GetRow(n);
        out.push_back({rt::pad_right(fila->FieldGet("codigo").text(), 3),
                       fila->FieldGet("desc_unid").text()});
    }
    return out;
}

// --- in the off-line store ----------------------------------------------------------------

namespace {

std::string texto_local(std::string_view valor) {
    return rt::mdb_quote(valor);
}

// Whether the statement found a row; its result stays in RS.
bool encontrado(rt::TODBC& RS, const std::string& sql) {
    return ejecutar(RS, sql) && RS.LastRec() >= 1;
}

std::optional<std::string> valor_local(rt::TODBC& RS, const std::string& sql,
                                       std::string_view columna) {
    if (!encontrado(RS, sql)) return std::nullopt;
    return RS.FieldValue(columna);
}

void fallo_local(const rt::TODBC& RS, Fallo& fallo) {
    fallo.texto = RS.SQLErrorMessage();
    fallo.sentencia = RS.SQL();
}

}  // namespace

std::optional<bool> MaestrosLocales::bodega(double numero) {
    if (!encontrado(RS_, "select * from bodegas where numero_bod=" + rt::mdb_number(numero)))
        return std::nullopt;
    return true;
}

bool MaestrosLocales::producto(std::string_view codigo) {
    return encontrado(
        RS_, "select codi_prod from prodvtas where codi_prod='" + texto_local(codigo) + "'");
}

bool MaestrosLocales::formula(std::string_view producto, std::string_view formula) {
    return encontrado(RS_, "select * from prodvtas where codi_prod='" + texto_local(producto) +
                               "' and codi_form='" + texto_local(formula) + "'");
}

bool MaestrosLocales::operario(double numero) {
    return encontrado(RS_, "select * from operario where codi_oper=" + rt::mdb_number(numero));
}

std::optional<bool> MaestrosLocales::operario_activo(double numero) {
    const auto activo = valor_local(
        RS_, "select ope_activo from operario where codi_oper=" + rt::mdb_number(numero),
        "OPE_ACTIVO");
    if (!activo) return std::nullopt;
    return *activo == "1";
}

std::optional<std::string> MaestrosLocales::nombre_producto(std::string_view codigo) {
    rt::TODBC RSAUX(RS_.ConnectionString());
    auto nombre = valor_local(
        RSAUX, "select desc_prod from prodvtas where codi_prod='" + texto_local(codigo) + "'",
        "DESC_PROD");
    RSAUX.Close();
    RSAUX.Destroy();
    return nombre;
}

std::optional<std::string> MaestrosLocales::nombre_formula(std::string_view producto,
                                                           std::string_view formula) {
    return valor_local(RS_,
                       "select desc_form from prodvtas where codi_prod='" + texto_local(producto) +
                           "' and codi_form='" + texto_local(formula) + "'",
                       "DESC_FORM");
}

std::optional<std::string> MaestrosLocales::nombre_operario(double numero) {
    return valor_local(
        RS_, "select nom_oper from operario where codi_oper=" + rt::mdb_number(numero), "NOM_OPER");
}

std::optional<std::vector<Actividad>> MaestrosLocales::actividades(const DatosCab& cab,
                                                                   Fallo& fallo) {
    if (!ejecutar(RS_,
                  "select formulas.prd_buy as codigo_actividad, formulas.consumo as "
                  "cantidad_actividad, prodcmp.unid_med as unidad_actividad, prodcmp.desc_prod as "
                  "nombre_actividad from formulas, prodcmp where prd_sale='" +
                      texto_local(cab.producto + cab.formula) +
                      "' and formulas.prd_buy = prodcmp.codi_prod and formulas.tipo_prd = 'I' and "
                      "left(prodcmp.codi_prod,1)='9' ")) {
        fallo_local(RS_, fallo);
        RS_.Close();
        return std::nullopt;
    }
    std::vector<Actividad> out;
    for (RS_.First(); !RS_.Eof(); RS_.Skip()) {
        out.push_back({RS_.FieldValue("CODIGO_ACTIVIDAD"), numero_en(RS_, "CANTIDAD_ACTIVIDAD"),
                       RS_.FieldValue("NOMBRE_ACTIVIDAD")});
    }
    RS_.Close();
    return out;
}

std::optional<std::vector<Especificacion>> MaestrosLocales::especificaciones(
    std::string_view actividad, Fallo& fallo) {
    if (!ejecutar(RS_,
                  "select left(codi_unid,3) as codigo, desc_unid from unidmed where "
                  "codi_prod ='" +
                      texto_local(actividad) +
                      "' and len(trim(mid(codi_unid,1,3)))>=01 and "
                      "mid(codi_unid,4,3)=space(03) order by desc_unid")) {
        fallo_local(RS_, fallo);
        RS_.Close();
        return std::nullopt;
    }
    std::vector<Especificacion> out;
    for (RS_.First(); !RS_.Eof(); RS_.Skip())
        out.push_back({rt::pad_right(RS_.FieldValue("CODIGO"), 3), RS_.FieldValue("DESC_UNID")});
    RS_.Close();
    return out;
}

}  // namespace datos
