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

// The key of a record. The library gives each text in one buffer of its own, which the
// next read overwrites: the code is copied before the formula is read.
std::string clave_de(DBFHandle h, int registro, int campo_codigo, int campo_formula) {
    const std::string codigo = DBFReadStringAttribute(h, registro, campo_codigo);
    return clave(codigo, DBFReadStringAttribute(h, registro, campo_formula));
}

// A value fits a numeric field when the library's formatting of it fills no more than
// the field's width (otherwise the library would cut the digits).
bool cabe(double valor, int ancho, int decimales) {
    char texto[64];
    const int n = std::snprintf(texto, sizeof texto, "%*.*f", ancho, decimales, valor);
    return n > 0 && n <= ancho;
}

}  // namespace

struct ProductosAnterior::Estado {
    DBFHandle dbf = nullptr;
    int campo_codigo = -1, campo_formula = -1;
    std::array<int, kMesesDeCosto> campos_costo{};
    std::map<std::string, int> registros;  // by code and formula

    ~Estado() {
        if (dbf) DBFClose(dbf);
    }
    int fd() const { return archivo(dbf->fp)->fd; }
    Archivo& archivo_dbf() const { return *archivo(dbf->fp); }

    // The records of the products, read through a handle of their own: the writing handle
    // then holds no record read without its lock.
    bool leer_claves(const std::string& ruta) {
        DBFHandle lectura = DBFOpen(ruta.c_str(), "rb");
        if (!lectura) return false;
        const int total = DBFGetRecordCount(lectura);
        for (int r = 0; r < total; ++r) {
            if (DBFIsRecordDeleted(lectura, r)) continue;
            registros.emplace(clave_de(lectura, r, campo_codigo, campo_formula), r);
        }
        DBFClose(lectura);
        return true;
    }
};

ProductosAnterior::ProductosAnterior(std::unique_ptr<Estado> estado) : e_(std::move(estado)) {}
ProductosAnterior::~ProductosAnterior() = default;

std::unique_ptr<ProductosAnterior> ProductosAnterior::abrir(const std::string& ruta) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ruta, ec)) return nullptr;
    auto e = std::make_unique<Estado>();
    SAHooks hooks = funciones_de_archivo();
    e->dbf = DBFOpenLL(ruta.c_str(), "rb+", &hooks);
    if (!e->dbf) return nullptr;
    archivo(e->dbf->fp)->cabecera = e->dbf->nHeaderLength;
    DBFSetWriteEndOfFileChar(e->dbf, 0);

    e->campo_codigo = DBFGetFieldIndex(e->dbf, "CODI_PROD");
    e->campo_formula = DBFGetFieldIndex(e->dbf, "CODI_FORM");
    if (e->campo_codigo < 0 || e->campo_formula < 0) return nullptr;
    for (int m = 0; m < kMesesDeCosto; ++m) {
        char nombre[8];
        std::snprintf(nombre, sizeof nombre, "COST%02d", m + 1);
        const int campo = DBFGetFieldIndex(e->dbf, nombre);
        const DBFFieldType tipo =
            campo < 0 ? FTInvalid : DBFGetFieldInfo(e->dbf, campo, nullptr, nullptr, nullptr);
        if (tipo != FTDouble && tipo != FTInteger) return nullptr;
        e->campos_costo[static_cast<std::size_t>(m)] = campo;
    }
    if (!e->leer_claves(ruta)) return nullptr;
    return std::unique_ptr<ProductosAnterior>(new ProductosAnterior(std::move(e)));
}

std::optional<int> ProductosAnterior::buscar(std::string_view codigo,
                                             std::string_view formula) const {
    auto it = e_->registros.find(clave(codigo, formula));
    if (it == e_->registros.end()) return std::nullopt;
    return it->second;
}

ProductosAnterior::Resultado ProductosAnterior::grabar_costos(int registro, std::string_view codigo,
                                                              std::string_view formula,
                                                              const CostosMensuales& costos) {
    DBFHandle h = e_->dbf;
    for (int m = 0; m < kMesesDeCosto; ++m) {
        int ancho = 0, decimales = 0;
        DBFGetFieldInfo(h, e_->campos_costo[static_cast<std::size_t>(m)], nullptr, &ancho,
                        &decimales);
        if (!cabe(costos[static_cast<std::size_t>(m)], ancho, decimales)) return Resultado::kNoCabe;
    }
    const off_t desde = static_cast<off_t>(h->nHeaderLength) +
                        static_cast<off_t>(registro) * static_cast<off_t>(h->nRecordLength);
    const off_t largo = h->nRecordLength;
    if (!bloquear(e_->fd(), desde, largo, F_WRLCK)) return Resultado::kBloqueado;

    // The writing handle keeps only the record it wrote last, which is another product's:
    // this record is read from the file now, under the lock.
    Resultado r = Resultado::kGrabado;
    if (DBFIsRecordDeleted(h, registro) ||
        clave_de(h, registro, e_->campo_codigo, e_->campo_formula) != clave(codigo, formula)) {
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
    return r;
}

}  // namespace abm
