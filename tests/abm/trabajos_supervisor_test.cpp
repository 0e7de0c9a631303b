// The supervisor jobs of the product catalogue: the cost copy into the earlier system's
// DBF table and the opening stock balances.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <shapefil.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>

#include "abm/abm_productos.h"
#include "abm/productos_anterior.h"
#include "catalogo_fixture.h"
#include "runtime/common/codepage.h"
#include "runtime/screen/keys.h"

namespace {

using namespace abm;
using namespace rt::key;
using prueba::Mensajes;
using testing_support::picture;

namespace fs = std::filesystem;

// The earlier system's table as the test makes it: code, formula, a description and the
// twelve costs (8 wide, 2 decimals).
struct Registro {
    const char* codigo;
    const char* formula;
    const char* descripcion;
    bool borrado = false;
};

class CopiaCostos : public prueba::CatalogoTest {
  protected:
    CopiaCostos() {
        carpeta_ = fs::absolute("temp/anterior_" + std::to_string(::getpid()));
        fs::create_directories(carpeta_);
        tabla_ = (carpeta_ / "prodvtas.dbf").string();
        const char* env = std::getenv(VAR_PRODUCTOS_ANTERIOR);
        if (env) antes_ = env;
        setenv(VAR_PRODUCTOS_ANTERIOR, carpeta_.c_str(), 1);
        // Costs on the server: month m of a product is base + m.
        sql("update prodvtas set cost01=101, cost02=102, cost03=103, cost04=104, cost05=105, "
            "cost06=106, cost07=107, cost08=108, cost09=109, cost10=110, cost11=111, "
            "cost12=112.126 where codi_prod='L01AA0110'");
        sql("update prodvtas set cost01=1.5, cost12=12.5 where codi_prod='M02BB0220'");
        sql("update prodvtas set cost05=123456.78 where codi_prod='A05DD0510'");
    }
    ~CopiaCostos() override {
        if (antes_)
            setenv(VAR_PRODUCTOS_ANTERIOR, antes_->c_str(), 1);
        else
            unsetenv(VAR_PRODUCTOS_ANTERIOR);
        fs::remove_all(carpeta_);
    }

    void crear(const std::vector<Registro>& registros) {
        DBFHandle h = DBFCreate(tabla_.c_str());
        ASSERT_NE(h, nullptr);
        DBFAddField(h, "CODI_PROD", FTString, 9, 0);
        DBFAddField(h, "CODI_FORM", FTString, 3, 0);
        DBFAddField(h, "DESCRIP", FTString, 30, 0);
        for (int m = 1; m <= 12; ++m) {
            char nombre[8];
            std::snprintf(nombre, sizeof nombre, "COST%02d", m);
            DBFAddField(h, nombre, FTDouble, 8, 2);
        }
        for (int r = 0; r < static_cast<int>(registros.size()); ++r) {
            DBFWriteStringAttribute(h, r, 0, registros[r].codigo);
            DBFWriteStringAttribute(h, r, 1, registros[r].formula);
            DBFWriteStringAttribute(h, r, 2, registros[r].descripcion);
            for (int m = 0; m < 12; ++m) DBFWriteDoubleAttribute(h, r, 3 + m, 7);
            if (registros[r].borrado) DBFMarkRecordDeleted(h, r, 1);
        }
        DBFClose(h);
    }

    // Each record as the DBF library reads it: "code|formula|description|cost01..cost12",
    // "*" first for a deleted one.
    std::vector<std::string> leer() const {
        std::vector<std::string> out;
        DBFHandle h = DBFOpen(tabla_.c_str(), "rb");
        EXPECT_NE(h, nullptr);
        if (!h) return out;
        for (int r = 0; r < DBFGetRecordCount(h); ++r) {
            std::string line = DBFIsRecordDeleted(h, r) ? "*" : "";
            for (int f = 0; f < DBFGetFieldCount(h); ++f)
                line += (f ? "|" : "") + std::string(DBFReadStringAttribute(h, r, f));
            out.push_back(line);
        }
        DBFClose(h);
        return out;
    }

    std::string bytes() const {
        std::ifstream in(tabla_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Ctrl+F11 on the catalogue: confirmed, supervisor password, then Esc.
    void copiar() {
        term.keys({kCtrlF11}).type("s").type("58206137").keys({kEnter});
        term.pause(3).keys({kEsc});
        ABM_PRODUCTOS();
    }

    // The console's lines under the closing message box.
    std::vector<std::string> lineas() const { return shown_list(0, 14, 0, 100, 1); }
    // A notice about a record of the test's table as the console shows it.
    std::string aviso(const std::string& que) const {
        return cp::oem_to_utf8(cp::utf8_to_oem(que + " de " + tabla_).substr(0, 100));
    }

    fs::path carpeta_;
    std::string tabla_;

  private:
    std::optional<std::string> antes_;
};

const std::string kTerminado = "Proceso terminado: ";
const std::string k7 = "7.00|7.00|7.00|7.00|7.00|7.00|7.00|7.00|7.00|7.00|7.00|7.00";
const std::string kL =
    "101.00|102.00|103.00|104.00|105.00|106.00|107.00|108.00|109.00|110.00|"
    "111.00|112.13";

TEST_F(CopiaCostos, TheTwelveCostsOfTheProductsFoundAndNothingElse) {
    crear({{"L01AA0110", "001", "Ladrillo uno"},
           {"ZZZ999999", "001", "Solo en el sistema anterior"},
           {"L01AA0110", "002", "Ladrillo dos"},
           {"L01AA0110", "003", "Borrado", true},
           {"M02BB0220", "001", "Mortero"},
           {"A05DD0510", "001", "Un costo que no cabe"}});
    const std::string cabecera = bytes().substr(0, 32);
    copiar();
    EXPECT_EQ(leer(), (std::vector<std::string>{
                          "L01AA0110|001|Ladrillo uno|" + kL,
                          "ZZZ999999|001|Solo en el sistema anterior|" + k7,
                          "L01AA0110|002|Ladrillo dos|" + kL,
                          "*L01AA0110|003|Borrado|" + k7,
                          "M02BB0220|001|Mortero|1.50|0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00|"
                          "0.00|0.00|12.50",
                          "A05DD0510|001|Un costo que no cabe|" + k7,
                      }));
    EXPECT_EQ(bytes().substr(0, 32), cabecera) << "the header is the other system's";
    EXPECT_EQ(mensajes(), Mensajes{kTerminado + "3 registros grabados, 0 bloqueados por otro "
                                                "proceso, 0 ilegibles"});
    // One line a product, in description order: copied, or why it was passed over.
    EXPECT_EQ(lineas(), (std::vector<std::string>{
                            aviso("Un costo no cabe en su campo, no se grabó: registro 6"),
                            "Ladrillo refractario 'Súper' 230x114x65",
                            "Ladrillo refractario 'Súper' 230x114x65",
                            "Mortero refractario fraguado al aire",
                            "Tampoco se grabaron: 1 con un costo que no cabe",
                        }));
}

TEST_F(CopiaCostos, ARecordLockedByAnotherProgramIsPassedOver) {
    crear({{"L01AA0110", "001", "Ladrillo uno"}, {"L01AA0110", "002", "Ladrillo dos"}});
    DBFHandle h = DBFOpen(tabla_.c_str(), "rb");
    ASSERT_NE(h, nullptr);
    const off_t desde = h->nHeaderLength + h->nRecordLength;  // the second record
    const off_t largo = h->nRecordLength;
    DBFClose(h);
    // Another program (another open file) holds a write lock on the second record.
    const int fd = ::open(tabla_.c_str(), O_RDWR);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = desde;
    fl.l_len = largo;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);
    copiar();
    ::close(fd);
    EXPECT_EQ(leer(), (std::vector<std::string>{"L01AA0110|001|Ladrillo uno|" + kL,
                                                "L01AA0110|002|Ladrillo dos|" + k7}));
    EXPECT_EQ(mensajes(), Mensajes{kTerminado + "1 registros grabados, 1 bloqueados por otro "
                                                "proceso, 0 ilegibles"});
    EXPECT_EQ(lineas()[1], aviso("Bloqueado por otro proceso, no se grabó: registro 2"));
}

// A file shorter than its header says (cut, or being appended to): the records wholly in
// it are copied, the others are counted and named.
TEST_F(CopiaCostos, RecordsNotWhollyInTheFileArePassedOverByName) {
    const std::vector<Registro> tres = {{"L01AA0110", "001", "Ladrillo uno"},
                                        {"M02BB0220", "001", "Mortero"},
                                        {"L01AA0110", "002", "Ladrillo dos"}};
    crear(tres);
    const std::string entero = bytes();
    const std::size_t registro = (entero.size() - 513) / 3;  // 513 bytes of header
    struct Caso {
        std::size_t largo;
        std::string mensaje, aviso;
    };
    const std::vector<Caso> casos = {
        {513 + 3 * registro - 1, "2 registros grabados, 0 bloqueados por otro proceso, 1 ilegibles",
         "Ilegible, no se copió: registro 3"},
        {513 + registro, "1 registros grabados, 0 bloqueados por otro proceso, 2 ilegibles",
         "Ilegibles, no se copiaron: registros 2 a 3"},
    };
    for (const Caso& caso : casos) {
        std::ofstream(tabla_, std::ios::binary | std::ios::trunc) << entero.substr(0, caso.largo);
        copiar();
        EXPECT_EQ(mensajes(), Mensajes{kTerminado + caso.mensaje});
        EXPECT_EQ(lineas().front().substr(0, caso.aviso.size() + 4), caso.aviso + " de ");
        EXPECT_NE(lineas().front().find(tabla_.substr(0, 40)), std::string::npos);
        EXPECT_EQ(bytes().size(), caso.largo) << "nothing appended";
    }
}

// Mutated copies of a sound table (cut, header counts and lengths changed, field
// descriptors changed, bytes flipped) through the opening, the search and the write: each
// run ends with its counts or with the reason the table cannot be used, and nothing of the
// header or of the file's length changes.
TEST_F(CopiaCostos, AnyFileEndsWithItsCountsOrItsReason) {
    const std::vector<Registro> productos = {{"L01AA0110", "001", "Ladrillo uno"},
                                             {"M02BB0220", "001", "Mortero"},
                                             {"ZZZ999999", "001", "Otro", true},
                                             {"L01AA0110", "002", "Ladrillo dos"}};
    crear(productos);
    const std::string sano = bytes();
    std::mt19937 azar(20240611);
    auto hasta = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(azar);
    };
    std::map<std::string, int> desenlaces;
    const CostosMensuales costos{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12345.678};
    for (int prueba = 0; prueba < 250; ++prueba) {
        std::string archivo = sano;
        const std::size_t campo = 32 + 32 * hasta(14);  // a field descriptor
        switch (prueba % 5) {
            case 0:
                archivo.resize(hasta(archivo.size()));
                break;
            case 1:
                archivo[4 + hasta(3)] = static_cast<char>(hasta(255));
                break;  // count
            case 2:
                archivo[8 + hasta(3)] = static_cast<char>(hasta(255));
                break;  // lengths
            case 3:
                archivo[campo + std::array{0, 10, 11, 16, 17}[hasta(4)]] ^=
                    static_cast<char>(1 + hasta(254));
                break;
            default:
                for (std::size_t k = hasta(7); k < 8; ++k)
                    archivo[hasta(archivo.size() - 1)] ^= static_cast<char>(1 + hasta(254));
        }
        std::ofstream(tabla_, std::ios::binary | std::ios::trunc) << archivo;
        auto apertura = ProductosAnterior::abrir(tabla_);
        if (!apertura.tabla) {
            EXPECT_EQ(apertura.motivo.rfind("No se puede usar la tabla " + tabla_ + ": ", 0), 0u);
            ++desenlaces["rechazada: " + apertura.motivo.substr(28 + tabla_.size())];
            continue;
        }
        for (const Registro& r : productos)
            if (auto n = apertura.tabla->buscar(r.codigo, r.formula))
                apertura.tabla->grabar_costos(*n, r.codigo, r.formula, costos);
        const ResumenCopia resumen = apertura.tabla->resumen();
        apertura.tabla.reset();
        EXPECT_EQ(resumen.texto().rfind(kTerminado, 0), 0u);
        for (const std::string& a : resumen.avisos)
            EXPECT_NE(a.find(" de " + tabla_), std::string::npos) << a;
        const std::string despues = bytes();
        EXPECT_EQ(despues.size(), archivo.size()) << prueba;
        EXPECT_EQ(despues.substr(0, 513), archivo.substr(0, 513)) << prueba;
        ++desenlaces[resumen.ilegibles  ? "con ilegibles"
                     : resumen.grabados ? "grabada"
                                        : "sin grabar"];
    }
    for (const auto& [desenlace, veces] : desenlaces)
        std::cout << veces << "  " << desenlace << "\n";
}

TEST_F(CopiaCostos, AMissingTableEndsTheJobWithoutAMessage) {
    setenv(VAR_PRODUCTOS_ANTERIOR, (carpeta_ / "no_existe").c_str(), 1);
    term.keys({kCtrlF11}).type("s").type("58206137").keys({kEnter, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(mensajes(), Mensajes{});
    EXPECT_TRUE(term.script_empty());
}

TEST_F(CopiaCostos, NotConfirmedOrAWrongPasswordRunsNothing) {
    crear({{"L01AA0110", "001", "Ladrillo uno"}});
    term.keys({kCtrlF11}).type("n").keys({kCtrlF11}).type("s").type("12345").keys({kEnter, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(leer(), std::vector<std::string>{"L01AA0110|001|Ladrillo uno|" + k7});
}

TEST_F(CopiaCostos, TheFolderComesFromTheEnvironment) {
    EXPECT_EQ(tabla_productos_anterior(), tabla_);
    unsetenv(VAR_PRODUCTOS_ANTERIOR);
    EXPECT_EQ(tabla_productos_anterior(), "produc/arti007/prodvtas.dbf");
}

class SaldosIniciales : public prueba::CatalogoTest {
  protected:
    SaldosIniciales() {
        sql("insert into bodegas (numero_bod, nombre_bod) values (7, 'Siete'), (8, 'Ocho'), "
            "(9, 'Nueve'), (10, 'Diez')");
        sql("insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) "
            "values (8, 'P', 'L01AA0110', '001', 99), (9, 'P', 'L01AA0110', '001', 50), "
            "(10, 'P', 'M02BB0220', '001', -5), (9, 'I', '100000004', '', 2.5)");
        sql("insert into mov_stock (tipo_prd, codi_prod, codi_form, cantidad, numero_bod) values "
            "('P', 'L01AA0110', '001', 20, 9), ('P', 'L01AA0110', '002', 7, 9), "
            "('I', '100000001', '', 4000, 1), ('I', '100000001', '', 800, 2)");
    }
    // Ctrl+F12 on the catalogue: confirmed, supervisor password, both parts.
    void correr() {
        term.keys({kCtrlF12}).type("s").type("58206137").keys({kEnter});
        term.type("s").keys({kEnter}).type("s").keys({kEnter, kEsc});
        ABM_PRODUCTOS();
    }
    std::vector<std::string> saldos() {
        return filas(
            "select numero_bod, tipo_prd, codi_prod, codi_form, round(cantidad, 3), nume_doc, "
            "fecha_doc "
            "from mov_stock where nume_doc=99999999 order by tipo_prd, numero_bod, codi_prod, "
            "codi_form");
    }
};

TEST_F(SaldosIniciales, ProductsFromTheNinthWarehouseComponentsFromTheFirst) {
    correr();
    EXPECT_EQ(saldos(), (std::vector<std::string>{
                            "1|I|100000001||1000.000|99999999|1980-01-01",
                            "1|I|100000002||1200.000|99999999|1980-01-01",
                            "1|I|100000003||300.000|99999999|1980-01-01",
                            "1|I|100000005||12.000|99999999|1980-01-01",
                            "9|I|100000004||2.500|99999999|1980-01-01",
                            "9|P|L01AA0110|001|30.000|99999999|1980-01-01",
                            "9|P|L01AA0110|002|-7.000|99999999|1980-01-01",
                            "10|P|M02BB0220|001|-5.000|99999999|1980-01-01",
                        }))
        << "warehouse 8 is passed over for products; 2 balances already";
    EXPECT_EQ(shown_screen(1), picture(R"(
Bodega: 10  =>  100000001
Bodega: 10  =>  100000002
Bodega: 10  =>  100000003
Bodega: 10  =>  100000004
Bodega: 10  =>  100000005
Bodega: 10  =>  900000001
Bodega: 10  =>  900000002
Bodega: 10  =>  900000003
Bodega: 10  =>  900000004






                                             ┌───────┐
                                             │ listo │
                                             │       │
                                             │  Ok   │
                                             └───────┘
)")) << "the last lines of the components, and the end";

    correr();
    EXPECT_EQ(saldos().size(), 8u) << "run again, it finds its balances in place";
}

TEST_F(SaldosIniciales, APartThatFailsLeavesNothingOfItBehind) {
    sql("create trigger falla before insert on mov_stock for each row "
        "if new.codi_prod = '100000003' then "
        "signal sqlstate '45000' set message_text = 'falla de prueba'; end if");
    term.keys({kCtrlF12}).type("s").type("58206137").keys({kEnter});
    term.type("s").keys({kEnter}).type("s").keys({kEnter, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(saldos(), (std::vector<std::string>{
                            "9|P|L01AA0110|001|30.000|99999999|1980-01-01",
                            "9|P|L01AA0110|002|-7.000|99999999|1980-01-01",
                            "10|P|M02BB0220|001|-5.000|99999999|1980-01-01",
                        }))
        << "the products' part stands; of the components' part nothing";
    EXPECT_EQ(shown_screen(1), picture(R"(
Bodega: 1  =>  100000001   Registro insertado
Bodega: 1  =>  100000002   Registro insertado
Bodega: 1  =>  100000003











                            ┌─────────────────────────────────────────┐
                            │                 Error:                  │
                            │             falla de prueba             │
                            │ No se grabó ningún saldo de esta parte. │
                            │                                         │
                            │                   Ok                    │
                            └─────────────────────────────────────────┘
)"));
}

TEST_F(SaldosIniciales, DeclinedPartsDoNotRun) {
    term.keys({kCtrlF12}).type("s").type("58206137").keys({kEnter});
    term.type("n").type("s").keys({kEnter, kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(saldos().size(), 5u) << "only the components";
    term.keys({kCtrlF12}).type("n").keys({kEsc});
    ABM_PRODUCTOS();
    EXPECT_EQ(saldos().size(), 5u);
}

}  // namespace
