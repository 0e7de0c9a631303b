// The connection to the company database server.
#include <mysql.h>

#include <algorithm>

#include "runtime/server/nonblocking.h"
#include "runtime/server/server_wait.h"
#include "runtime/server/tmysql.h"

namespace rt {

namespace detail {
void MysqlCloser::operator()(st_mysql* handle) const {
    mysql_close(handle);
}
}  // namespace detail

namespace {
// An address that does not answer is given up quickly: the user is waiting at the login.
constexpr unsigned int kConnectTimeoutSeconds = 3;

// Failures after which the connection is gone for good.
bool connection_lost(unsigned int error) {
    constexpr unsigned int kServerGone = 2006, kServerLost = 2013, kServerLostExtended = 2055;
    constexpr unsigned int kServerShutdown = 1053, kConnectionKilled = 1927;
    return error == kServerGone || error == kServerLost || error == kServerLostExtended ||
           error == kServerShutdown || error == kConnectionKilled;
}
}  // namespace

std::unique_ptr<TMySQLServer> TMySQLServer::New(std::string_view address, std::string_view user,
                                                std::string_view password) {
    return std::make_unique<TMySQLServer>(address, user, password);
}

TMySQLServer::TMySQLServer(std::string_view address, std::string_view user,
                           std::string_view password)
    : address_(address), user_(user), password_(password) {
    auto where = parse_mysql_address(address_);
    detail::MysqlHandle handle(mysql_init(nullptr));
    if (!where || !handle) {
        error_ = true;
        return;
    }
    // latin1 is the server's name for Windows-1252: every byte of our texts goes and comes
    // back unchanged, and column lengths are in characters.
    mysql_options(handle.get(), MYSQL_SET_CHARSET_NAME, "latin1");
    mysql_options(handle.get(), MYSQL_OPT_CONNECT_TIMEOUT, &kConnectTimeoutSeconds);
    // Statements wait for the server without blocking (server_wait.h); the timeouts still
    // bound what the client library does by itself, such as closing a connection.
    const auto silence = std::max(1u, static_cast<unsigned int>(server_wait().limit_seconds));
    mysql_options(handle.get(), MYSQL_OPT_READ_TIMEOUT, &silence);
    mysql_options(handle.get(), MYSQL_OPT_WRITE_TIMEOUT, &silence);
    mysql_options(handle.get(), MYSQL_OPT_NONBLOCK, nullptr);
    my_bool no = 0;
    mysql_options(handle.get(), MYSQL_OPT_RECONNECT, &no);  // a lost session stays lost
    if (!mysql_real_connect(handle.get(), where->host.c_str(), user_.c_str(), password_.c_str(),
                            nullptr, where->port, nullptr, 0)) {
        error_ = true;
        return;
    }
    handle_ = std::move(handle);
    pin_session();
    error_ = !handle_;
}

void TMySQLServer::pin_session() {
    // A value out of its column's range is refused, never cut to fit and stored with a
    // mere warning, whatever mode the server was started in.
    std::string mode;
    auto current = Query("select @@session.sql_mode");
    if (auto row = current.GetRow(1)) mode = row->Raw(1);
    Query("set session sql_mode='" + strict_sql_mode(mode) + "'");
    // A row lock is waited for less long than a silent server is, so that the wait ends
    // with the server's own refusal. A server without the setting keeps its own.
    Query("set session innodb_lock_wait_timeout=" + std::to_string(kLockWaitSeconds));
}

std::unique_ptr<TMySQLServer> TMySQLServer::OpenAnother() const {
    auto other = New(address_, user_, password_);
    if (!other->NetErr() && !database_.empty()) other->SelectDB(database_);
    return other;
}

TMySQLServer::~TMySQLServer() = default;

bool TMySQLServer::SelectDB(std::string_view name) {
    error_ = false;
    const std::string db(name);
    if (handle_) {
        MYSQL* h = handle_.get();
        int failed = 0;
        const bool answered = detail::run_without_blocking(
            h, [&] { return mysql_select_db_start(&failed, h, db.c_str()); },
            [&](int events) { return mysql_select_db_cont(&failed, h, events); });
        if (!answered) handle_.reset();
        if (answered && failed == 0) {
            database_ = db;
            return true;
        }
    }
    error_ = true;
    database_.clear();
    return false;
}

TMySQLQuery TMySQLServer::Query(std::string_view sql) {
    TMySQLQuery q(handle_.get(), std::string(sql));
    if (q.NetErr()) error_ = true;
    // An answer that comes after all would be taken for the next statement's.
    if (q.given_up_) {
        handle_.reset();
    } else if (handle_ && q.NetErr() && connection_lost(q.ErrorNo())) {
        handle_.reset();
        if (server_wait().lost) server_wait().lost();
    }
    return q;
}

std::string TMySQLServer::Error() {
    error_ = false;
    if (!handle_) return std::string(kNoConnection);
    return mysql_error(handle_.get());
}

void TMySQLServer::Destroy() {
    handle_.reset();
}

std::string TMySQLServer::escape(std::string_view text) const {
    return mysql_escape(this, text);
}

std::string mysql_escape(const TMySQLServer* server, std::string_view text) {
    // The client library writes at most two bytes per byte, plus the terminating NUL.
    std::string out(text.size() * 2 + 1, '\0');
    MYSQL* handle = server ? server->handle_.get() : nullptr;
    const unsigned long length =
        handle ? mysql_real_escape_string(handle, out.data(), text.data(), text.size())
               : mysql_escape_string(out.data(), text.data(), text.size());
    // Only a multi-byte character set can refuse a text; ours is single-byte.
    out.resize(length <= out.size() ? length : 0);
    return out;
}

}  // namespace rt
