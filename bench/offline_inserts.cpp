// Rows per second for 50,000 single-row inserts into the off-line store through TODBC: each
// committed on its own (how the voucher entry writes), then all inside one transaction (how a
// download of thousands of master-data rows should write).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/offline/store_creation.h"
#include "runtime/offline/todbc.h"

namespace {

constexpr int kRows = 50'000;

double insert_rows(rt::TODBC& db, int first) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = first; i < first + kRows; ++i) {
        db.SetSQL(
            "insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, "
            "digito_verif) Values(" +
            std::to_string(i) + ", 'OPERARIO " + std::to_string(i) +
            "', 'G01', true, '12345678', 'K' )");
        if (!db.Open()) {
            std::fprintf(stderr, "insert %d failed: %s\n", i, db.SQLErrorMessage().c_str());
            return 0;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return kRows / took.count();
}

}  // namespace

int main() {
    char pattern[] = "/tmp/vales-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const std::filesystem::path folder = pattern;
    const auto file = (folder / "vales.mdb").string();
    std::string error;
    if (rt::create_offline_store(file, &error) != rt::StoreCreation::created) {
        std::fprintf(stderr, "cannot create the store: %s\n", error.c_str());
        return 1;
    }
    int rc = 0;
    {
        rt::TODBC db(rt::offline_connection_string_for(file));
        const double one_by_one = insert_rows(db, 0);
        std::printf("offline store, %d inserts, each committed (WAL, full sync): %.0f rows/s\n",
                    kRows, one_by_one);
        db.BeginTransaction();
        const double batched = insert_rows(db, kRows);
        db.CommitTransaction();
        std::printf("offline store, %d inserts, one transaction:              %.0f rows/s\n", kRows,
                    batched);
        if (one_by_one == 0 || batched == 0) rc = 1;
    }
    std::filesystem::remove_all(folder);
    return rc;
}
