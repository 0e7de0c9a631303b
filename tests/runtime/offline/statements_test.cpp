// Every statement the off-line operations run on the store, verbatim, in the order a working
// day would run them: download of master data, lookups, help lists, voucher entry, entry list
// and upload. Each must run on the store's schema and return what its caller reads.
#include <gtest/gtest.h>

#include "support/offline_store.h"

namespace testing_support {
using namespace rt;
namespace {

struct Check {
    long row;  // from 1
    const char* field;
    std::string value;
};

struct Step {
    std::string sql;
    long rows;  // rows the result must hold (0 for writes)
    std::vector<Check> checks = {};
};

const std::string kPerez =
    "JUAN P\xC9"
    "REZ";  // Windows-1252

std::vector<Step> working_day() {
    return {
        // Download (the six copies, each after emptying its table).
        {"delete from prodvtas", 0},
        {"insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo) "
         "Values('A00010001', 'LADRILLO REFRACTARIO', '001', 'ESTANDAR', true, true)",
         0},
        {"insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo) "
         "Values('A00010001', 'LADRILLO REFRACTARIO', '002', 'ESPECIAL', False, true)",
         0},
        {"insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo) "
         "Values('B00020000', 'LADRILLO BASE', '001', 'BASE', true, true)",
         0},
        {"insert into prodvtas (codi_prod, desc_prod, codi_form, desc_form, l_vigente, l_activo) "
         "Values('C00030001', '" +
             mdb_quote("MORTERO O'HIGGINS") + "', '001', 'UNICA', true, true)",
         0},
        {"delete from formulas", 0},
        {"insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form) "
         "Values('A00010001001', '900000001', 'I', 1.5, '001' )",
         0},
        {"insert into formulas (prd_sale,prd_buy,tipo_prd,consumo,codi_form) "
         "Values('A00010001001', '900000002', 'I', 0.25, '001' )",
         0},
        {"delete from prodcmp", 0},
        {"insert into prodcmp (codi_prod, desc_prod, unid_med) "
         "Values('900000001', 'MOLIENDA                                ', 'KG ' )",
         0},
        {"insert into prodcmp (codi_prod, desc_prod, unid_med) "
         "Values('900000002', 'PRENSADO                                ', 'UN ' )",
         0},
        {"delete from unidmed", 0},
        {"insert into unidmed (codi_prod, codi_unid, desc_unid) "
         "Values('900000001', '001   ', 'GRUESA' )",
         0},
        {"insert into unidmed (codi_prod, codi_unid, desc_unid) "
         "Values('900000001', '001G01', 'GRUESA DEL GRUPO G01' )",
         0},
        {"insert into unidmed (codi_prod, codi_unid, desc_unid) "
         "Values('900000001', '002   ', 'FINA' )",
         0},
        {"insert into unidmed (codi_prod, codi_unid, desc_unid) "
         "Values('900000001', '   G01', 'SOLO GRUPO' )",
         0},
        {"delete from operario", 0},
        {"insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) "
         "Values(5, '" +
             kPerez + "', 'G01', true, '12345678', 'K' )",
         0},
        {"insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) "
         "Values(7, 'ANA ROJAS', 'G02', false, '87654321', '5' )",
         0},
        {"insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) "
         "Values(9, 'ALBERTO DIAZ', 'G01', true, '11111111', '1' )",
         0},
        {"delete from bodegas", 0},
        {"insert into bodegas (numero_bod,nombre_bod) Values(1, 'CENTRAL' )", 0},
        {"select count(*) as cantidad from prodvtas", 1, {{1, "cantidad", "4"}}},
        {"select count(*) as cantidad from bodegas", 1, {{1, "CANTIDAD", "1"}}},

        // Lookups.
        {"select * from bodegas where numero_bod=1", 1, {{1, "nombre_bod", "CENTRAL"}}},
        {"select * from bodegas where numero_bod=2", 0},
        {"select codi_prod from prodvtas where codi_prod='A00010001'", 2},
        {"select * from prodvtas where codi_prod='A00010001' and codi_form='002'",
         1,
         {{1, "l_vigente", "0"}, {1, "l_activo", "1"}}},
        {"select * from operario where codi_oper=5", 1, {{1, "rut", "12345678"}}},
        {"select ope_activo from operario where codi_oper=7", 1, {{1, "OPE_ACTIVO", "0"}}},
        {"select desc_prod from prodvtas where codi_prod='C00030001'",
         1,
         {{1, "DESC_PROD", "MORTERO O'HIGGINS"}}},
        {"select desc_form from prodvtas where codi_prod='A00010001' and codi_form='001'",
         1,
         {{1, "DESC_FORM", "ESTANDAR"}}},
        {"select nom_oper from operario where codi_oper=5", 1, {{1, "NOM_OPER", kPerez}}},

        // Help lists: operators at once, then searches in both lists.
        {"select * from operario where ope_activo order by nom_oper",
         2,
         {{1, "nom_oper", "ALBERTO DIAZ"}, {2, "codi_oper", "5"}}},
        {"select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas "
         "where desc_prod like 'LAD%' and mid(codi_prod,06,04)<>'0000' and l_activo=true",
         2,
         {{1, "CODI_PROD", "A00010001"}, {2, "L_VIGENTE", "0"}}},
        {"select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas "
         "where (desc_prod like '%O''H%' or codi_prod like '%O''H%') "
         "and mid(codi_prod,06,04)<>'0000' and l_activo=true",
         1,
         {{1, "codi_prod", "C00030001"}}},
        {"select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas "
         "where (desc_prod like '%0003%' or codi_prod like '%0003%') "
         "and mid(codi_prod,06,04)<>'0000' and l_activo=true",
         1,
         {{1, "desc_form", "UNICA"}}},
        {"select codi_prod, codi_form, desc_prod, desc_form, l_activo, l_vigente from prodvtas "
         "where (desc_prod like '%REFRACT%'  and desc_prod like '%LADRI%' ) "
         "and mid(codi_prod,06,04)<>'0000' and l_activo=true",
         2},
        {"select rut, digito_verif, nom_oper, codi_oper from operario "
         "where nom_oper like 'JUAN P\xC9%' and ope_activo ",
         1,
         {{1, "codi_oper", "5"}}},
        {"select rut, digito_verif, nom_oper, codi_oper from operario "
         "where (nom_oper like '%ROJAS%' or rut like '%ROJAS%') and ope_activo ",
         0},

        // Off-line entry: the formula's activities, the especificaciones of one, the voucher.
        {"select formulas.prd_buy as codigo_actividad, formulas.consumo as cantidad_actividad, "
         "prodcmp.unid_med as unidad_actividad, prodcmp.desc_prod as nombre_actividad from "
         "formulas, prodcmp where prd_sale='A00010001001' and formulas.prd_buy = "
         "prodcmp.codi_prod and formulas.tipo_prd = 'I' and left(prodcmp.codi_prod,1)='9' ",
         2,
         {{1, "CODIGO_ACTIVIDAD", "900000001"},
          {1, "CANTIDAD_ACTIVIDAD", "1.5"},
          {2, "CANTIDAD_ACTIVIDAD", "0.25"},
          {2, "UNIDAD_ACTIVIDAD", "UN "},
          {1, "NOMBRE_ACTIVIDAD", "MOLIENDA                                "}}},
        {"select left(codi_unid,3) as codigo, desc_unid from unidmed where codi_prod ='900000001' "
         "and len(trim(mid(codi_unid,1,3)))>=01 and mid(codi_unid,4,3)=space(03) order by "
         "desc_unid",
         2,
         {{1, "CODIGO", "002"}, {1, "DESC_UNID", "FINA"}, {2, "codigo", "001"}}},
        {"select Max(n_interno) as ult_interno from vales_cab", 1, {{1, "ULT_INTERNO", ""}}},
        {"insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
         "c_estado) values('A00010001', '001', 1, '06/12/2026', 150.00, 0.50, '1')",
         0},
        {"select Max(n_interno) as ult_interno from vales_cab", 1, {{1, "ULT_INTERNO", "1"}}},
        {"insert into vales_itm (n_interno, codi_actividad, codi_oper, codi_especif, hora_ini, "
         "hora_fin, consumo, cantidad) values(1,'900000001',5,'002','08:00','09:30',1.5,75.00)",
         0},
        {"insert into vales_itm (n_interno, codi_actividad, codi_oper, codi_especif, hora_ini, "
         "hora_fin, consumo, cantidad) values(1,'900000001',9,'002','09:30','10:00',1.5,75.00)",
         0},
        {"insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
         "c_estado) values('A00010001', '002', 1, '07/12/2026', 10.25, 0.00, '1')",
         0},

        // Entry list and upload: the join with duplicated column names, then one voucher.
        {"select * from vales_cab left join prodvtas on vales_cab.codi_prod=prodvtas.codi_prod and "
         "vales_cab.codi_form=prodvtas.codi_form where vales_cab.c_estado<>'2'",
         2,
         {{1, "n_interno", "1"},
          {1, "fecha", "2026-12-06 00:00:00"},
          {1, "CODI_PROD", "A00010001"},
          {1, "CODI_FORM", "001"},
          {1, "num_bodega", "1"},
          {1, "DESC_PROD", "LADRILLO REFRACTARIO"},
          {1, "cantidad", "150"},
          {1, "malas", "0.5"},
          {2, "codi_form", "002"},
          {2, "cantidad", "10.25"},
          {2, "malas", "0"}}},
        {"select * from vales_cab where n_interno=1",
         1,
         {{1, "CODI_PROD", "A00010001"},
          {1, "FECHA", "2026-12-06 00:00:00"},
          {1, "NUM_BODEGA", "1"},
          {1, "C_ESTADO", "1"}}},
        {"select * from vales_itm where n_interno=1",
         2,
         {{1, "CODI_ACTIVIDAD", "900000001"},
          {1, "CODI_OPER", "5"},
          {1, "CODI_ESPECIF", "002"},
          {1, "HORA_INI", "08:00"},
          {1, "HORA_FIN", "09:30"},
          {1, "CONSUMO", "1.5"},
          {1, "CANTIDAD", "75"},
          {2, "CODI_OPER", "9"}}},
        {"update vales_cab set c_estado='2' where n_interno=1", 0},
        {"select * from vales_cab left join prodvtas on vales_cab.codi_prod=prodvtas.codi_prod and "
         "vales_cab.codi_form=prodvtas.codi_form where vales_cab.c_estado<>'2'",
         1,
         {{1, "n_interno", "2"}}},
        {"delete from  vales_cab where n_interno=2", 0},
        {"delete from  vales_itm where n_interno=2", 0},
        {"select * from vales_cab where n_interno=2", 0},
        // The counter is not reused after a delete.
        {"insert into vales_cab (codi_prod, codi_form, num_bodega, fecha, cantidad, malas, "
         "c_estado) values('A00010001', '001', 1, '01/01/2027', 1.00, 0.00, '1')",
         0},
        {"select Max(n_interno) as ult_interno from vales_cab", 1, {{1, "ult_interno", "3"}}},
    };
}

using OfflineStatements = StoreTest;

TEST_F(OfflineStatements, RunVerbatimAndReturnWhatTheirCallersRead) {
    TODBC rs(connection());
    for (const auto& step : working_day()) {
        rs.SetSQL(step.sql);
        ASSERT_TRUE(rs.Open()) << step.sql << "\n" << rs.SQLErrorMessage();
        EXPECT_EQ(rs.LastRec(), step.rows) << step.sql;
        for (const auto& check : step.checks) {
            rs.First();
            for (long r = 1; r < check.row; ++r) rs.Skip();
            ASSERT_NE(rs.FieldByName(check.field), nullptr) << step.sql << "\n" << check.field;
            EXPECT_EQ(rs.FieldByName(check.field)->Value, check.value)
                << step.sql << "\nrow " << check.row << ", " << check.field;
        }
    }
}

}  // namespace
}  // namespace testing_support
