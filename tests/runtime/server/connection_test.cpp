// Connections that cannot be made or that are lost during a session.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "runtime/server/server_wait.h"
#include "runtime/server/tmysql.h"
#include "support/servidor_propio.h"
#include "support/servidor_prueba.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void expect_failed_connection(TMySQLServer& srv) {
    EXPECT_TRUE(srv.NetErr());
    EXPECT_FALSE(srv.connected());
    EXPECT_EQ(srv.Error(), "No connection to server");
    EXPECT_FALSE(srv.NetErr());
    EXPECT_FALSE(srv.SelectDB("test"));
    EXPECT_TRUE(srv.NetErr());
    auto q = srv.Query("select 1");
    EXPECT_TRUE(q.NetErr());
    EXPECT_EQ(q.Error(), "No connection to server");
    EXPECT_FALSE(q.GetRow(1));
}

TEST(Connection, NoServerOnThePortFailsAtOnce) {
    const std::string address = prueba::direccion_mariadb();
    ASSERT_FALSE(address.empty());
    auto start = Clock::now();
    auto srv = TMySQLServer::New("127.0.0.1:1", datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    EXPECT_LT(seconds_since(start), 5.0);
    expect_failed_connection(*srv);
}

TEST(Connection, WrongPasswordOrAddressTextFails) {
    const std::string address = prueba::direccion_mariadb();
    auto srv = TMySQLServer::New(address, "root", "not the password");
    expect_failed_connection(*srv);
    for (auto bad : {"", "127.0.0.1:", "127.0.0.1:abc", "127.0.0.1:70000", "[::1"}) {
        auto s = TMySQLServer::New(bad, datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
        EXPECT_TRUE(s->NetErr()) << bad;
    }
}

// A port where the kernel accepts connections but nobody ever answers: a hung server.
TEST(Connection, ServerThatNeverAnswersIsGivenUpWithinFiveSeconds) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    const std::string address = "127.0.0.1:" + std::to_string(ntohs(addr.sin_port));

    auto start = Clock::now();
    auto srv = TMySQLServer::New(address, datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    const double took = seconds_since(start);
    ::close(fd);
    EXPECT_LT(took, 5.0);
    expect_failed_connection(*srv);
}

TEST(Connection, DestroyedConnectionRefusesStatements) {
    auto srv = prueba::conectar_mariadb("test");
    auto before = srv->Query("select 1 as uno");
    srv->Destroy();
    srv->Destroy();  // harmless
    auto q = srv->Query("select 1");
    EXPECT_TRUE(q.NetErr());
    EXPECT_TRUE(srv->NetErr());
    EXPECT_EQ(srv->Error(), "No connection to server");
    EXPECT_EQ(before.FieldGet("uno").number(), 1) << "stored rows outlive the connection";
}

TEST(Connection, ServerKilledDuringTheSessionFailsTheNextStatement) {
    prueba::OwnServer own;
    ASSERT_TRUE(own.started()) << own.logs();
    auto srv = TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    ASSERT_FALSE(srv->NetErr()) << srv->Error();
    auto held = srv->Query("select 'antes' as t");
    ASSERT_FALSE(held.NetErr());

    ASSERT_EQ(::kill(own.pid(), SIGKILL), 0);
    for (int i = 0; i < 100 && ::kill(own.pid(), 0) == 0; ++i) ::usleep(20000);

    auto start = Clock::now();
    auto q = srv->Query("select 1");
    EXPECT_LT(seconds_since(start), 5.0);
    EXPECT_TRUE(q.NetErr());
    EXPECT_EQ(q.LastRec(), 0);
    EXPECT_FALSE(q.GetRow(1));
    EXPECT_TRUE(srv->NetErr());
    EXPECT_FALSE(srv->Error().empty()) << "the client library says what happened";
    auto again = srv->Query("select 2");
    EXPECT_TRUE(again.NetErr()) << "the session stays lost: no silent reconnection";
    EXPECT_FALSE(srv->SelectDB("test"));
    EXPECT_EQ(held.FieldGet("t").text(), "antes");
    srv->Destroy();
}

// The hooks of a test: a clock that only moves when the library pauses, so the limit is
// reached in little real time, and a record of the pauses and of how the waits ended.
class EsperaDePrueba {
  public:
    explicit EsperaDePrueba(double limit) {
        rt::ServerWait w;
        w.clock = [this] { return now; };
        w.pause = [this](double seconds, double waited) {
            EXPECT_GE(waited, last_waited);
            last_waited = waited;
            now += seconds;
            ++pauses;
        };
        w.done = [this](bool gave_up) { ends.push_back(gave_up); };
        w.limit_seconds = limit;
        previous_ = rt::install_server_wait(std::move(w));
    }
    ~EsperaDePrueba() { rt::install_server_wait(std::move(previous_)); }

    double now = 0, last_waited = 0;
    int pauses = 0;
    std::vector<bool> ends;

  private:
    rt::ServerWait previous_;
};

// A server that accepts the statement and never answers (its process stopped) is given up
// after the limit of silence on the application's clock; the connection is closed, so a
// late answer can never be read as another statement's.
TEST(Connection, SilentServerIsGivenUpAfterTheLimitAndTheConnectionClosed) {
    prueba::OwnServer own;
    ASSERT_TRUE(own.started()) << own.logs();
    auto srv = TMySQLServer::New(own.address(), datos::USUARIO_SERVIDOR, datos::CLAVE_SERVIDOR);
    ASSERT_FALSE(srv->NetErr()) << srv->Error();
    EsperaDePrueba espera(30);

    ASSERT_TRUE(own.freeze());
    auto start = Clock::now();
    auto q = srv->Query("select 1");
    const double took = seconds_since(start);
    own.resume();

    EXPECT_LT(took, 10.0) << "the limit runs on the application's clock";
    EXPECT_TRUE(q.NetErr());
    EXPECT_FALSE(q.GetRow(1));
    EXPECT_EQ(q.ErrorNo(), 2013u);
    EXPECT_FALSE(q.Error().empty());
    EXPECT_GE(espera.now, 30.0);
    EXPECT_LT(espera.now, 31.0);
    EXPECT_EQ(espera.ends, std::vector<bool>{true});
    EXPECT_FALSE(srv->connected());
    EXPECT_TRUE(srv->Query("select 2").NetErr());
    EXPECT_EQ(srv->Error(), "No connection to server");
    EXPECT_FALSE(srv->SelectDB("mysql"));
}

// A statement that takes its time is waited for, with the hooks running meanwhile; one
// answered at once calls none of them.
TEST(Connection, SlowStatementIsWaitedForWithTheHooksRunning) {
    auto srv = prueba::conectar_mariadb("");
    EsperaDePrueba espera(30);
    auto quick = srv->Query("select 7 as n");
    EXPECT_EQ(quick.FieldGet("n").number(), 7);
    EXPECT_EQ(espera.pauses, 0);
    EXPECT_TRUE(espera.ends.empty());

    auto slow = srv->Query("select sleep(0.6) as s, 8 as n");
    EXPECT_FALSE(slow.NetErr()) << slow.Error();
    EXPECT_EQ(slow.FieldGet("n").number(), 8);
    EXPECT_GT(espera.pauses, 0);
    EXPECT_EQ(espera.ends, std::vector<bool>{false});
    EXPECT_TRUE(srv->connected());
}

}  // namespace
