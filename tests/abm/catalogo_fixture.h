#pragma once
// A session on a company database of its own: a copy of the test company's tables and
// rows made for each test and dropped after it, so a test may add, change and enable what
// it needs without touching what other tests read.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/worktables/workspace.h"
#include "servidor_abm.h"
#include "support/modo_sql.h"

namespace prueba {

class CatalogoTest : public ServidorAbm {
  protected:
    CatalogoTest() {
        static int n = 0;
        base_ = "cat_" + std::to_string(::getpid()) + "_" + std::to_string(++n);
        sql("drop database if exists " + base_);
        sql("create database " + base_ + " character set latin1");
        auto tablas = sesion.OSERVER->Query("show tables from test");
        for (long i = 1; i <= tablas.LastRec(); ++i) {
            const std::string t = tablas.GetRow(i)->FieldGet(1).text();
            sql("create table " + base_ + "." + t + " like test." + t);
            sql("insert into " + base_ + "." + t + " select * from test." + t);
        }
        EXPECT_TRUE(sesion.OSERVER->SelectDB(base_));
    }
    ~CatalogoTest() override {
        rt::wt::workspace().close_all();
        sesion.OSERVER->Query("drop database if exists " + base_);
    }

    // The rows of a statement on this company's database, each as its columns' texts
    // (numbers as the server writes them), joined by "|".
    std::vector<std::string> filas(const std::string& statement) {
        std::vector<std::string> out;
        auto q = sesion.OSERVER->Query(statement);
        EXPECT_FALSE(q.NetErr()) << statement << ": " << q.Error();
        for (long i = 1; i <= q.LastRec(); ++i) {
            const auto row = q.GetRow(i);
            std::string line;
            for (int c = 1; c <= row->FCount(); ++c) line += (c > 1 ? "|" : "") + row->Raw(c);
            out.push_back(cp::ansi_to_utf8(line));
        }
        return out;
    }

    // A user who may do everything in the catalogue, and the coding tables enabled.
    void como_supervisor() {
        sql("update nombre_accesos set l_activo=1");
        sesion.COD_USUARIO = "supervisor";
    }

    // Work files the operations leave in temp/ (none once they have returned).
    static std::vector<std::string> archivos_temporales() {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator("temp", ec))
            out.push_back(e.path().filename().string());
        return out;
    }

    std::string base_;
};

// A catalogue test run with the server in the SQL mode of its parameter: the session's
// connection, opened again once the mode is set, works on the test's own database.
template <class Fixture>
class CatalogoEnModo : public EnModoSql<Fixture> {
  protected:
    CatalogoEnModo() { EXPECT_TRUE(this->sesion.OSERVER->SelectDB(this->base_)); }
};

}  // namespace prueba
