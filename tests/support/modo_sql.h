#pragma once
// The SQL modes of the server under which the tests of hostile input run: the server's
// default, one where a backslash is an ordinary character inside string literals, and one
// where double quotes delimit names. Plants run their servers in any of them.
//
// The mode is set globally, so it applies to every connection opened while the switch
// lives (the program's and the test's own); the previous mode comes back when it goes.
// Open the connections after the switch:
//
//   using XEnModo = prueba::EnModoSql<X>;   // X: a fixture with a session (`sesion`)
//   TEST_P(XEnModo, Y) { ... }
//   INSTANTIATE_TEST_SUITE_P(Modos, XEnModo, testing::ValuesIn(prueba::modos_sql()),
//                            prueba::nombre_modo);
// or, without a session, prueba::ModoSql modo(GetParam()) before connecting.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/servidor_prueba.h"

namespace prueba {

// "" is the server's own mode; the others are added to it.
inline const std::vector<std::string>& modos_sql() {
    static const std::vector<std::string> modos = {"", "NO_BACKSLASH_ESCAPES", "ANSI_QUOTES"};
    return modos;
}

inline std::string nombre_modo(const testing::TestParamInfo<std::string>& info) {
    return info.param.empty() ? "ModoDelServidor" : info.param;
}

class ModoSql {
  public:
    explicit ModoSql(const std::string& modo) : admin_(conectar_mariadb("")) {
        auto q = admin_->Query("select @@global.sql_mode");
        EXPECT_FALSE(q.NetErr());
        if (auto row = q.GetRow(1)) previo_ = row->Raw(1);
        if (!modo.empty()) cambiar("concat(@@global.sql_mode, '," + modo + "')");
    }
    ~ModoSql() { cambiar("'" + previo_ + "'"); }
    ModoSql(const ModoSql&) = delete;
    ModoSql& operator=(const ModoSql&) = delete;

  private:
    void cambiar(const std::string& valor) {
        auto q = admin_->Query("set global sql_mode=" + valor);
        EXPECT_FALSE(q.NetErr()) << q.Error();
    }
    std::unique_ptr<TMySQLServer> admin_;
    std::string previo_;
};

// The fixture `Fixture` run with the server in the SQL mode of the test's parameter: the
// session's connection (Fixture::sesion.OSERVER) is opened again once the mode is set.
template <class Fixture>
class EnModoSql : public Fixture, public testing::WithParamInterface<std::string> {
  protected:
    EnModoSql() { this->sesion.OSERVER = conectar_mariadb("test"); }

  private:
    ModoSql modo_{this->GetParam()};
};

}  // namespace prueba
