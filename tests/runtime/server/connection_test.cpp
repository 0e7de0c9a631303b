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

#include "runtime/server/tmysql.h"
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
    auto srv = TMySQLServer::New("127.0.0.1:1", vales::USUARIO_SERVIDOR, vales::CLAVE_SERVIDOR);
    EXPECT_LT(seconds_since(start), 5.0);
    expect_failed_connection(*srv);
}

TEST(Connection, WrongPasswordOrAddressTextFails) {
    const std::string address = prueba::direccion_mariadb();
    auto srv = TMySQLServer::New(address, "root", "not the password");
    expect_failed_connection(*srv);
    for (auto bad : {"", "127.0.0.1:", "127.0.0.1:abc", "127.0.0.1:70000", "[::1"}) {
        auto s = TMySQLServer::New(bad, vales::USUARIO_SERVIDOR, vales::CLAVE_SERVIDOR);
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
    auto srv = TMySQLServer::New(address, vales::USUARIO_SERVIDOR, vales::CLAVE_SERVIDOR);
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

// A server of this test alone, so that it can be killed without disturbing the others.
class OwnServer {
  public:
    OwnServer() {
        const std::string state = prueba::carpeta_mariadb();
        scripts_ = prueba::leer_linea(state + "/scripts");
        dir_ = state + "-kill-" + std::to_string(::getpid());
        const std::string cmd =
            scripts_ + "/mariadb-start.sh '" + dir_ + "' --bare >/dev/null 2>&1";
        started_ = !scripts_.empty() && std::system(cmd.c_str()) == 0;
    }
    ~OwnServer() {
        if (scripts_.empty()) return;
        std::system((scripts_ + "/mariadb-stop.sh '" + dir_ + "' >/dev/null 2>&1").c_str());
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    bool started() const { return started_; }
    std::string address() const { return prueba::leer_linea(dir_ + "/address"); }
    pid_t pid() const { return static_cast<pid_t>(std::stol(prueba::leer_linea(dir_ + "/pid"))); }

  private:
    std::string scripts_, dir_;
    bool started_ = false;
};

TEST(Connection, ServerKilledDuringTheSessionFailsTheNextStatement) {
    OwnServer own;
    ASSERT_TRUE(own.started());
    auto srv = TMySQLServer::New(own.address(), vales::USUARIO_SERVIDOR, vales::CLAVE_SERVIDOR);
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

}  // namespace
