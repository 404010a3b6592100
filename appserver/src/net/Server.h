#pragma once
#include "storage/StorageFactory.h"

#include <asio.hpp>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace ger {

class Connection;

/// What the server listens on and how it works.
struct ServerOptions {
    std::string address = "127.0.0.1";
    unsigned short port = 6700; ///< 0 picks a free port; Port() tells which
    std::size_t threads = 4;    ///< workers serving clients; a slow client holds only its own
    std::size_t maxLineLength = 16 * 1024 * 1024;
    bool handleSignals = true; ///< stop on SIGINT and SIGTERM
};

/// The application server: accepts clients on a TCP address and serves each on its own
/// connection with its own storage session, on a pool of worker threads.
class Server {
public:
    /// Binds at once, so a port in use is reported before anything runs.
    Server(ServerOptions options, const StorageFactory& storageFactory);
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

    /// The port actually bound.
    unsigned short Port() const { return port_; }
    /// Serves clients until Stop() or a signal; returns when every worker has finished.
    void Run();
    /// Stops accepting and closes every client connection; safe from any thread.
    void Stop();

private:
    void Accept();

    ServerOptions options_;
    const StorageFactory& storageFactory_;
    asio::io_context io_;
    // The acceptor and the signal set are touched by their handlers and by Stop(): one strand
    // keeps those from running at the same time on different workers.
    asio::strand<asio::io_context::executor_type> strand_;
    asio::ip::tcp::acceptor acceptor_;
    asio::signal_set signals_;
    unsigned short port_ = 0;
    std::mutex connectionsMutex_;
    std::list<std::weak_ptr<Connection>> connections_;
};

} // namespace ger
