// The query client on a table the size of a large master-data download: time to run the
// select and store the rows, time to read every row with the program's loop (GetRow,
// FieldGet by name, Skip), and the memory the stored result holds; then the time of one
// small statement's round trip.
//
// Runs against the server in $VALES_TEST_MARIADB_DIR when set, otherwise starts a private
// one of its own with scripts/mariadb-start.sh and stops it at the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "bench_mariadb.h"
#include "datos/servidores.h"
#include "runtime/server/tmysql.h"

namespace {

long rss_kib() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

double since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main() {
    BenchServer server;
    if (!server.ok()) return 1;
    auto srv = TMySQLServer::New(server.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    if (srv->NetErr()) return 1;
    srv->Query("create database if not exists bench_client");
    srv->SelectDB("bench_client");
    srv->Query("drop table if exists formulas");
    srv->Query(
        "create table formulas (id int primary key, prd_sale char(12), prd_buy char(9), "
        "tipo_prd char(1), codi_form char(3), consumo decimal(14,5), l_activo tinyint(1)) "
        "engine=InnoDB");
    for (int rows : {1000, 10000, 50000}) {
        srv->Query("delete from formulas");
        std::string sql = "insert into formulas values ";
        for (int i = 0; i < rows; ++i) {
            if (i) sql += ',';
            sql += '(';
            sql += std::to_string(i);
            sql += ",'L01AA0110";
            sql += std::to_string(i % 1000 + 1000).substr(1);
            sql += "','9000";
            sql += std::to_string(10000 + i % 10000).substr(1);
            sql += "','I','',1.25,1)";
        }
        srv->Query(sql);

        const long rss0 = rss_kib();
        auto t = std::chrono::steady_clock::now();
        auto q = srv->Query("select prd_sale,prd_buy,tipo_prd,consumo,codi_form from formulas");
        const double query_ms = since(t);
        const long stored_kib = rss_kib() - rss0;

        t = std::chrono::steady_clock::now();
        double total = 0;
        long count = 0;
        while (!q.Eof()) {
            auto row = q.GetRow();
            total += row->FieldGet("consumo").number();
            count += row->FieldGet("prd_sale").text().size() == 12;
            q.Skip();
        }
        const double read_ms = since(t);
        std::printf(
            "%6d rows: query+store %7.1f ms, read loop %7.1f ms (%.2f us/row), stored %ld KiB"
            "%s\n",
            rows, query_ms, read_ms, 1000.0 * read_ms / rows, stored_kib,
            (count == rows && total > 0) ? "" : "  (WRONG RESULT)");
    }
    // Round trips of small statements, as a voucher save issues them one after another.
    constexpr int kStatements = 2000;
    auto t = std::chrono::steady_clock::now();
    long answered = 0;
    for (int i = 0; i < kStatements; ++i)
        answered += srv->Query("select " + std::to_string(i) + " as n").LastRec();
    const double round_ms = since(t);
    std::printf("%6d small statements: %7.1f ms (%.1f us each)%s\n", kStatements, round_ms,
                1000.0 * round_ms / kStatements, answered == kStatements ? "" : "  (WRONG RESULT)");
    srv->Query("drop database bench_client");
    srv->Destroy();
    return 0;
}
