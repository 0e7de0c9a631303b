#pragma once
// The ODBC handles behind TODBC and its prepared statements (internal to the store
// connection's sources).
#include <sql.h>
#include <sqlext.h>

#include <string>

#include "runtime/offline/todbc.h"

namespace rt {

class OdbcHandle {
  public:
    OdbcHandle() = default;
    OdbcHandle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {}
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    ~OdbcHandle() { reset(); }
    void reset() {
        if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
        handle_ = SQL_NULL_HANDLE;
    }
    void adopt(SQLSMALLINT type, SQLHANDLE handle) {
        reset();
        type_ = type;
        handle_ = handle;
    }
    SQLHANDLE get() const { return handle_; }

  private:
    SQLSMALLINT type_ = 0;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// "Error " + state + " - " + message, from the first diagnostic record of a handle.
inline std::string diagnostic(SQLSMALLINT type, SQLHANDLE handle) {
    if (handle == SQL_NULL_HANDLE) return "Error  - sin manejador ODBC";
    SQLCHAR state[6] = {};
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    if (!SQL_SUCCEEDED(rc)) return "Error  - sin detalle del controlador";
    return "Error " + std::string(reinterpret_cast<char*>(state)) + " - " +
           std::string(reinterpret_cast<char*>(message));
}

struct TODBC::Handles {
    OdbcHandle env;
    OdbcHandle dbc;
};

}  // namespace rt
