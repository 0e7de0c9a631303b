// The earlier system's product table, read and written through shapelib's DBF functions.
//
// The file stays in use by the earlier system while the costs are copied, so:
//  - the records are found through one pass over the table when it is opened (the index
//    file is not needed: the copy changes no field of the key, so the earlier system's
//    index stays valid and is left alone);
//  - each record is locked (an fcntl write lock on its bytes) while it is read again and
//    written, and written out before the lock is released;
//  - the file's header (record count, date of last change) is never written: a record the
//    other program appends meanwhile keeps its place in the count. The library writes the
//    header when it flushes; the file functions given to it let those writes go nowhere,
//    and every other write goes straight to the file, unbuffered.
#include "abm/productos_anterior.h"

#include <fcntl.h>
#include <shapefil.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "runtime/common/texto.h"

namespace abm {

std::string carpeta_productos_anterior() {
    const char* env = std::getenv(VAR_PRODUCTOS_ANTERIOR);
    if (env && !rt::trim(env).empty()) return rt::trim(env);
    return std::string(CARPETA_PRODUCTOS_ANTERIOR_FIJA);
}

std::string tabla_productos_anterior() {
    return (std::filesystem::path(carpeta_productos_anterior()) / "prodvtas.dbf").string();
}

namespace {

// --- the file functions given to the library ---------------------------------------------

struct Archivo {
    int fd = -1;
    off_t posicion = 0;
    off_t cabecera = 0;  // writes before this offset are the header's: not written
    bool fallo_escritura = false;
};

Archivo* archivo(SAFile f) {
    return reinterpret_cast<Archivo*>(f);
}

SAFile abrir_archivo(const char* nombre, const char* modo) {
    const bool escribir = std::string_view(modo).find('+') != std::string_view::npos;
    const int fd = ::open(nombre, (escribir ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return reinterpret_cast<SAFile>(new Archivo{fd, 0, 0});
}

SAOffset leer_archivo(void* p, SAOffset tam, SAOffset n, SAFile f) {
    Archivo* a = archivo(f);
    const std::size_t total = tam * n;
    std::size_t hecho = 0;
    while (hecho < total) {
        const ssize_t r =
            ::pread(a->fd, static_cast<char*>(p) + hecho, total - hecho, a->posicion + hecho);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        hecho += static_cast<std::size_t>(r);
    }
    a->posicion += static_cast<off_t>(hecho);
    return tam ? hecho / tam : 0;
}

SAOffset escribir_archivo(void* p, SAOffset tam, SAOffset n, SAFile f) {
    Archivo* a = archivo(f);
    const std::size_t total = tam * n;
    if (a->posicion < a->cabecera) {
        a->posicion += static_cast<off_t>(total);
        return n;
    }
    std::size_t hecho = 0;
    while (hecho < total) {
        const ssize_t r = ::pwrite(a->fd, static_cast<const char*>(p) + hecho, total - hecho,
                                   a->posicion + hecho);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        hecho += static_cast<std::size_t>(r);
    }
    a->posicion += static_cast<off_t>(hecho);
    if (hecho < total) a->fallo_escritura = true;
    return tam ? hecho / tam : 0;
}

SAOffset mover_archivo(SAFile f, SAOffset desde, int origen) {
    Archivo* a = archivo(f);
    off_t base = 0;
    if (origen == SEEK_CUR) base = a->posicion;
    if (origen == SEEK_END) {
        struct stat st {};
        if (::fstat(a->fd, &st) != 0) return static_cast<SAOffset>(-1);
        base = st.st_size;
    }
    a->posicion = base + static_cast<off_t>(desde);
    return 0;
}

SAOffset posicion_archivo(SAFile f) {
    return static_cast<SAOffset>(archivo(f)->posicion);
}

int vaciar_archivo(SAFile) {
    return 0;
}

int cerrar_archivo(SAFile f) {
    Archivo* a = archivo(f);
    const int r = ::close(a->fd);
    delete a;
    return r;
}

int borrar_archivo(const char* nombre) {
    return ::unlink(nombre);
}

void error_de_biblioteca(const char*) {}

double numero_de_texto(const char* texto) {
    return std::atof(texto);
}

SAHooks funciones_de_archivo() {
    SAHooks h{};
    h.FOpen = abrir_archivo;
    h.FRead = leer_archivo;
    h.FWrite = escribir_archivo;
    h.FSeek = mover_archivo;
    h.FTell = posicion_archivo;
    h.FFlush = vaciar_archivo;
    h.FClose = cerrar_archivo;
    h.Remove = borrar_archivo;
    h.Error = error_de_biblioteca;
    h.Atof = numero_de_texto;
    return h;
}

// --- record locks ----------------------------------------------------------------------

// A write lock on a byte range. Locks of the open file (not of the process) where the
// system has them: they conflict with the locks of every other program, and closing
// another descriptor of the file does not drop them.
bool bloquear(int fd, off_t desde, off_t largo, short tipo) {
    struct flock fl {};
    fl.l_type = tipo;
    fl.l_whence = SEEK_SET;
    fl.l_start = desde;
    fl.l_len = largo;
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
    if (errno != EINVAL) return false;
#endif
    return ::fcntl(fd, F_SETLK, &fl) == 0;
}

std::string clave(std::string_view codigo, std::string_view formula) {
    return rt::trim(codigo) + '\n' + rt::trim(formula);
}

// A text field of the record the handle holds; nothing when the library cannot give it.
// The library gives each text in one buffer of its own, which the next read overwrites.
std::optional<std::string> texto_de(DBFHandle h, int registro, int campo) {
    const char* texto = DBFReadStringAttribute(h, registro, campo);
    if (!texto) return std::nullopt;
    return std::string(texto);
}

// The key of a record, read from the file now (the handle forgets the record it held, so
// a record read before a lock was taken is not used under it); nothing when the record is
// not wholly in the file.
std::optional<std::string> clave_de(DBFHandle h, int registro, int campo_codigo, int campo_formula,
                                    bool* borrado) {
    h->nCurrentRecord = -1;
    if (registro < 0 || registro >= h->nRecords || !DBFReadTuple(h, registro)) return std::nullopt;
    *borrado = DBFIsRecordDeleted(h, registro) != 0;
    const auto codigo = texto_de(h, registro, campo_codigo);
    const auto formula = codigo ? texto_de(h, registro, campo_formula) : std::nullopt;
    if (!formula) return std::nullopt;
    return clave(*codigo, *formula);
}

// A value fits a numeric field when the library's formatting of it fills no more than
// the field's width (otherwise the library would cut the digits).
bool cabe(double valor, int ancho, int decimales) {
    char texto[64];
    const int n = std::snprintf(texto, sizeof texto, "%*.*f", ancho, decimales, valor);
    return n > 0 && n <= ancho;
}

std::string numero(int n) {
    return std::to_string(n);
}

// How the user counts records: from 1, as the earlier system shows them.
std::string registro_de(int registro, const std::string& ruta) {
    return "registro " + numero(registro + 1) + " de " + ruta;
}

}  // namespace

std::string ResumenCopia::texto() const {
    return "Proceso terminado: " + numero(grabados) + " registros grabados, " + numero(bloqueados) +
           " bloqueados por otro proceso, " + numero(ilegibles) + " ilegibles";
}

std::string ResumenCopia::otros() const {
    std::string t;
    auto parte = [&](int n, const char* que) {
        if (n) t += (t.empty() ? "Tampoco se grabaron: " : ", ") + numero(n) + que;
    };
    parte(no_caben, " con un costo que no cabe");
    parte(cambiados, " cambiados mientras tanto");
    parte(fallidos, " que no llegaron al archivo");
    return t;
}

struct ProductosAnterior::Estado {
    std::string ruta;
    DBFHandle dbf = nullptr;
    int campo_codigo = -1, campo_formula = -1;
    std::array<int, kMesesDeCosto> campos_costo{};
    std::map<std::string, int> registros;  // by code and formula
    ResumenCopia resumen;

    ~Estado() {
        if (dbf) DBFClose(dbf);
    }
    int fd() const { return archivo(dbf->fp)->fd; }
    Archivo& archivo_dbf() const { return *archivo(dbf->fp); }

    void ilegible(int registro, const std::string& por_que) {
        ++resumen.ilegibles;
        resumen.avisos.push_back("Ilegible, no se copió: " + registro_de(registro, ruta) + " (" +
                                 por_que + ")");
    }

    // Why the header cannot be trusted to place the records, or nothing. The field
    // descriptors must end where the header says the records begin: a record written at a
    // place the header got wrong would overwrite the descriptors or another record.
    std::optional<std::string> cabecera_dudosa() const {
        const off_t fin_campos = 32 + 32 * static_cast<off_t>(dbf->nFields);
        unsigned char terminador = 0;
        if (dbf->nHeaderLength <= fin_campos || ::pread(fd(), &terminador, 1, fin_campos) != 1 ||
            terminador != 0x0D)
            return "la cabecera no termina donde lo dice (" + numero(dbf->nHeaderLength) +
                   " bytes para " + numero(dbf->nFields) + " campos)";
        return std::nullopt;
    }

    // The records of the products, read through a handle of their own: the writing handle
    // then holds no record read without its lock. Only the records the header counts are
    // read (one the other program appends meanwhile is not yet its), and of those only the
    // ones wholly in the file: a header may count records that are not there yet, or that
    // a cut copy of the file lost.
    std::optional<std::string> leer_claves() {
        SAHooks hooks = funciones_de_archivo();
        DBFHandle lectura = DBFOpenLL(ruta.c_str(), "rb", &hooks);
        if (!lectura) return std::string("no se pudo leer su cabecera");
        const bool igual = lectura->nHeaderLength == dbf->nHeaderLength &&
                           lectura->nRecordLength == dbf->nRecordLength;
        if (!igual) {
            DBFClose(lectura);
            return std::string("su cabecera cambió mientras se abría");
        }
        struct stat st {};
        const off_t tam = ::fstat(fd(), &st) == 0 ? st.st_size : 0;
        const off_t en_archivo =
            tam > dbf->nHeaderLength ? (tam - dbf->nHeaderLength) / dbf->nRecordLength : 0;
        const int declarados = std::min(DBFGetRecordCount(dbf), DBFGetRecordCount(lectura));
        const int enteros = static_cast<int>(std::min<off_t>(declarados, en_archivo));
        for (int r = 0; r < enteros; ++r) {
            bool borrado = false;
            const auto c = clave_de(lectura, r, campo_codigo, campo_formula, &borrado);
            if (!c)
                ilegible(r, "no se pudo leer");
            else if (!borrado)
                registros.emplace(*c, r);
        }
        DBFClose(lectura);
        if (declarados > enteros) {
            const std::string por_que = "la cabecera cuenta " + numero(declarados) +
                                        " registros y el archivo tiene " + numero(enteros) +
                                        " enteros";
            if (declarados - enteros == 1) {
                ilegible(enteros, por_que);
            } else {
                resumen.ilegibles += declarados - enteros;
                resumen.avisos.push_back("Ilegibles, no se copiaron: registros " +
                                         numero(enteros + 1) + " a " + numero(declarados) + " de " +
                                         ruta + " (" + por_que + ")");
            }
        }
        return std::nullopt;
    }
};

ProductosAnterior::ProductosAnterior(std::unique_ptr<Estado> estado) : e_(std::move(estado)) {}
ProductosAnterior::~ProductosAnterior() = default;

ProductosAnterior::Apertura ProductosAnterior::abrir(const std::string& ruta) {
    std::error_code ec;
    if (!std::filesystem::exists(ruta, ec)) return {};
    auto no_se_puede = [&](const std::string& por_que) {
        return Apertura{nullptr, "No se puede usar la tabla " + ruta + ": " + por_que};
    };
    if (!std::filesystem::is_regular_file(ruta, ec)) return no_se_puede("no es un archivo");
    auto e = std::make_unique<Estado>();
    e->ruta = ruta;
    SAHooks hooks = funciones_de_archivo();
    e->dbf = DBFOpenLL(ruta.c_str(), "rb+", &hooks);
    if (!e->dbf)
        return no_se_puede(::access(ruta.c_str(), R_OK | W_OK) != 0
                               ? "no se puede abrir para grabar"
                               : "no es una tabla DBF legible");
    archivo(e->dbf->fp)->cabecera = e->dbf->nHeaderLength;
    DBFSetWriteEndOfFileChar(e->dbf, 0);
    if (auto por_que = e->cabecera_dudosa()) return no_se_puede(*por_que);

    e->campo_codigo = DBFGetFieldIndex(e->dbf, "CODI_PROD");
    if (e->campo_codigo < 0) return no_se_puede("le falta el campo CODI_PROD");
    e->campo_formula = DBFGetFieldIndex(e->dbf, "CODI_FORM");
    if (e->campo_formula < 0) return no_se_puede("le falta el campo CODI_FORM");
    for (int m = 0; m < kMesesDeCosto; ++m) {
        char nombre[8];
        std::snprintf(nombre, sizeof nombre, "COST%02d", m + 1);
        const int campo = DBFGetFieldIndex(e->dbf, nombre);
        const DBFFieldType tipo =
            campo < 0 ? FTInvalid : DBFGetFieldInfo(e->dbf, campo, nullptr, nullptr, nullptr);
        if (tipo != FTDouble && tipo != FTInteger)
            return no_se_puede(std::string("le falta el campo numérico ") + nombre);
        e->campos_costo[static_cast<std::size_t>(m)] = campo;
    }
    if (auto por_que = e->leer_claves()) return no_se_puede(*por_que);
    return {std::unique_ptr<ProductosAnterior>(new ProductosAnterior(std::move(e))), {}};
}

std::optional<int> ProductosAnterior::buscar(std::string_view codigo,
                                             std::string_view formula) const {
    auto it = e_->registros.find(clave(codigo, formula));
    if (it == e_->registros.end()) return std::nullopt;
    return it->second;
}

const ResumenCopia& ProductosAnterior::resumen() const {
    return e_->resumen;
}

ProductosAnterior::Resultado ProductosAnterior::grabar_costos(int registro, std::string_view codigo,
                                                              std::string_view formula,
                                                              const CostosMensuales& costos) {
    ResumenCopia& resumen = e_->resumen;
    auto omitido = [&](Resultado r, int& cuenta, const char* por_que) {
        ++cuenta;
        resumen.avisos.push_back(std::string(por_que) +
                                 ", no se grabó: " + registro_de(registro, e_->ruta));
        return r;
    };
    DBFHandle h = e_->dbf;
    for (int m = 0; m < kMesesDeCosto; ++m) {
        int ancho = 0, decimales = 0;
        DBFGetFieldInfo(h, e_->campos_costo[static_cast<std::size_t>(m)], nullptr, &ancho,
                        &decimales);
        if (!cabe(costos[static_cast<std::size_t>(m)], ancho, decimales))
            return omitido(Resultado::kNoCabe, resumen.no_caben, "Un costo no cabe en su campo");
    }
    const off_t desde = static_cast<off_t>(h->nHeaderLength) +
                        static_cast<off_t>(registro) * static_cast<off_t>(h->nRecordLength);
    const off_t largo = h->nRecordLength;
    if (!bloquear(e_->fd(), desde, largo, F_WRLCK))
        return omitido(Resultado::kBloqueado, resumen.bloqueados, "Bloqueado por otro proceso");

    Resultado r = Resultado::kGrabado;
    bool borrado = false;
    const auto leida = clave_de(h, registro, e_->campo_codigo, e_->campo_formula, &borrado);
    if (!leida) {
        r = Resultado::kIlegible;
    } else if (borrado || *leida != clave(codigo, formula)) {
        r = Resultado::kCambiado;
    } else {
        for (int m = 0; m < kMesesDeCosto && r == Resultado::kGrabado; ++m)
            if (!DBFWriteDoubleAttribute(h, registro, e_->campos_costo[static_cast<std::size_t>(m)],
                                         costos[static_cast<std::size_t>(m)]))
                r = Resultado::kError;
        // Writes the record out now, while it is locked (the header part goes nowhere).
        e_->archivo_dbf().fallo_escritura = false;
        DBFUpdateHeader(h);
        if (e_->archivo_dbf().fallo_escritura) r = Resultado::kError;
    }
    bloquear(e_->fd(), desde, largo, F_UNLCK);
    switch (r) {
        case Resultado::kGrabado:
            ++resumen.grabados;
            return r;
        case Resultado::kIlegible:
            e_->ilegible(registro, "el archivo ya no lo tiene entero");
            return r;
        case Resultado::kCambiado:
            return omitido(r, resumen.cambiados, "Cambió mientras se copiaba");
        default:
            return omitido(r, resumen.fallidos, "No llegó al archivo");
    }
}

}  // namespace abm
