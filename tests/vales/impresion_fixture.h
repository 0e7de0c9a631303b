#pragma once
// The printing tests' vouchers on the test server, and what those tests look at: the pages
// a print run draws, the documents it leaves in temp/ and the screen.
//
// Vouchers 990001, 990002 and 990004 (990003 and 990005 do not exist). 990002 has an
// activity whose description is 30 characters long, done by the operator with a name
// longer than 20 characters, with a 25-character especificación.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "impresion/comandos.h"
#include "impresion/tprint.h"
#include "runtime/common/codepage.h"
#include "support/servidor_prueba.h"
#include "vales/imprimir/print_vales.h"
#include "vales/vales_fixture.h"

namespace testing_support {

inline const char* const kDatosImpresion[] = {
    "insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk, prec_comp, moneda) "
    "values ('900000099', 'Rectificado de aristas y caras', 'UN', 0, '0', 1)",
    "insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values "
    "('900000099', 'Z01   ', 'Acabado fino de precisión', 0)",
    "insert into vales (nume_folio, fecha_prod, codi_prod, codi_form, cantidad, malas, "
    "numero_bod, codi_insu, form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un, "
    "c_estado) values "
    "(990001, '2026-12-02', 'L01AA0110', '001', 1234.5, 0, 2, '900000001', '', 'I', 1, 1, "
    "'A01', 1.5, '1'),"
    "(990001, '2026-12-02', 'L01AA0110', '001', 1234.5, 0, 2, '100000001', '', 'I', 2.5, 0, "
    "'', 0, '1'),"
    "(990002, '2026-12-03', 'M02BB0220', '001', 25, 0, 1, '900000099', '', 'I', 1, 5, 'Z01', "
    "1, '1'),"
    "(990004, '2026-12-04', 'L01AA0110', '002', 10, 0, 6, '900000002', '', 'I', 1, 2, 'B01', "
    "0.8, '1')",
};

inline const char* const kLimpiezaImpresion[] = {
    "delete from vales where nume_folio between 990000 and 990099",
    "delete from unidmed where codi_prod='900000099'",
    "delete from prodcmp where codi_prod='900000099'",
};

class ImpresionTest : public ValesTest {
  protected:
    ImpresionTest() {
        sesion.OSERVER = prueba::conectar_mariadb("test");
        sesion.LCONECTADO = true;
        limpiar();
        for (const char* sql : kDatosImpresion) {
            auto q = sesion.OSERVER->Query(cp::utf8_to_ansi(sql));
            EXPECT_FALSE(q.NetErr()) << q.Error();
        }
        // Documents are never handed to a desktop viewer from the tests.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        antes_ = documentos();
    }
    ~ImpresionTest() override {
        limpiar();
        for (const std::string& d : documentos()) {
            if (!antes_.count(d)) std::filesystem::remove(d);
        }
    }
    void limpiar() {
        for (const char* sql : kLimpiezaImpresion) sesion.OSERVER->Query(sql);
    }
    static std::set<std::string> documentos() {
        std::set<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator("temp", ec))
            out.insert(e.path().string());
        return out;
    }
    // The files the test left in temp/ (documents, and work files that should not be there).
    std::vector<std::string> nuevos() const {
        std::vector<std::string> out;
        for (const std::string& d : documentos()) {
            if (!antes_.count(d)) out.push_back(d);
        }
        return out;
    }
    bool se_vio(const std::string& utf8) const {
        for (const auto& s : term.snapshots()) {
            for (int r = 0; r < rt::kRows; ++r) {
                if (grid_row_text(s.grid, r).find(utf8) != std::string::npos) return true;
            }
        }
        return false;
    }
    static std::string leer(const std::string& ruta) {
        std::ifstream in(ruta, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // The text of a PDF as poppler lays it out, one page after another ("\f" between).
    static std::string texto_pdf(const std::string& ruta) {
        const auto r = impresion::ejecutar_comando({"pdftotext", "-layout", ruta, "-"}, 20);
        EXPECT_TRUE(r.ok()) << r.salida;
        return r.salida;
    }

    // A print run of the range into a PDF job that is then dropped: the pages as drawn.
    std::vector<impresion::Pagina> paginas_de(long primero, long ultimo,
                                              vales::ResumenImpresion* resumen = nullptr) {
        std::vector<impresion::Pagina> paginas;
        impresion::TPRINT job("PDFPRINT", {.pagina_terminada = [&](const impresion::Pagina& p) {
                                  paginas.push_back(p);
                              }});
        job.BeginDoc("Vale produccion");
        const vales::ResumenImpresion r =
            vales::imprimir_rango(job, *sesion.OSERVER, primero, ultimo);
        if (resumen) *resumen = r;
        job.Release();
        return paginas;
    }

  private:
    std::set<std::string> antes_;
};

}  // namespace testing_support
