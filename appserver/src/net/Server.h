#pragma once
#include "guard/RequestLimits.h"
#include "net/AccessToken.h"
#include "net/Connection.h"
#include "net/ConnectionLimits.h"
#include "storage/Database.h"
#include "storage/StorageFactory.h"

#include <asio.hpp>
#include <cstddef>
#include <memory>
#include <string>

namespace ger {

/// What the server listens on and how it works.
struct ServerOptions {
    /// Any address but a loopback one requires a token.
    std::string address = "127.0.0.1";
    unsigned short port = 6700;   ///< 0 picks a free port; Port() tells which
    DatabaseOptions database;     ///< threads serving the database
    RequestLimits limits;         ///< what one request may hold
    ConnectionLimits connections; ///< what the clients may hold of the server
    AccessToken token;            ///< when set, every connection logs in with it first
    bool handleSignals = true;    ///< stop on SIGINT and SIGTERM
};

/// The application server: accepts clients on a TCP address and serves them all from one
/// network thread that never blocks; the calls run on the database's own threads. Keeps no
/// rows between calls, so several servers may serve one database.
class Server {
public:
    /// Binds and opens the database sessions at once, so a port in use or a database that
    /// cannot be opened is reported before anything runs. Throws std::runtime_error for an
    /// address beyond this machine without a token.
    Server(ServerOptions options, const StorageFactory& storageFactory);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

    /// The port actually bound.
    unsigned short Port() const { return port_; }
    /// Serves clients on the calling thread until Stop() or a signal; returns once the calls
    /// in progress are answered.
    void Run();
    /// Stops accepting, lets the calls in progress finish and closes every client; safe from
    /// any thread.
    void Stop();

private:
    void Accept();
    /// Takes one waiting client with the descriptor kept in reserve and tells it why it
    /// cannot be served, so it does not wait in the backlog for nothing.
    void RefuseOne();
    void AcceptLater();
    /// Tells a client beyond the connection limit so, without serving it.
    void RefuseOverLimit(asio::ip::tcp::socket& socket);
    void StopNow();

    ServerOptions options_;
    asio::io_context io_{1}; // one thread runs it
    std::unique_ptr<Database> database_;
    ConnectionShared shared_;
    asio::ip::tcp::acceptor acceptor_;
    asio::signal_set signals_;
    asio::steady_timer acceptDelay_;
    int spareDescriptor_ = -1;
    unsigned short port_ = 0;
};

} // namespace ger
