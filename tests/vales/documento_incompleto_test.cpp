// A document that cannot be written whole (the disk fills up half way) leaves no file
// under its name, and the user is told.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/offline_store.h"
#include "vales/impresion/tprint.h"
#include "vales/vales_fixture.h"

namespace {

namespace fs = std::filesystem;

// Files may grow to `bytes` only while it lives, as on a disk with that much room left.
class DiscoCasiLleno {
  public:
    explicit DiscoCasiLleno(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &antes_);
        senal_ = ::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        rlimit limite = antes_;
        limite.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~DiscoCasiLleno() {
        ::setrlimit(RLIMIT_FSIZE, &antes_);
        ::signal(SIGXFSZ, senal_);
    }

  private:
    rlimit antes_{};
    sighandler_t senal_;
};

class DocumentoIncompleto : public testing_support::ValesTest {};

TEST_F(DocumentoIncompleto, UnArchivoCortadoNoQuedaEnLaCarpeta) {
    testing_support::TempFolder carpeta;
    for (std::string_view destino : {impresion::kPdf, impresion::kHtml, impresion::kRtf}) {
        SCOPED_TRACE(destino);
        std::vector<std::string> avisos;
        impresion::OpcionesImpresion opciones;
        opciones.carpeta = carpeta.path().string() + "/";
        opciones.avisar = [&](std::string_view t) { avisos.emplace_back(t); };
        impresion::TPRINT job(destino, opciones);
        job.Init();
        job.SelPrinter(false, false, false, 1);
        ASSERT_FALSE(job.lPrError());
        job.BeginDoc("Vale produccion");
        for (int pagina = 0; pagina < 20; ++pagina) {
            job.BeginPage();
            for (int fila = 1; fila < 60; ++fila)
                job.PrintData(fila, 1, "Texto de relleno de la fila " + std::to_string(fila));
            job.EndPage();
        }
        {
            DiscoCasiLleno disco(2048);
            job.EndDoc();
        }
        EXPECT_EQ(job.archivo(), "");
        EXPECT_TRUE(fs::is_empty(carpeta.path())) << "no truncated document remains";
        ASSERT_EQ(avisos.size(), 1u);
        EXPECT_EQ(avisos[0].rfind("No se pudo escribir el archivo ", 0), 0u) << avisos[0];
    }
}

}  // namespace
