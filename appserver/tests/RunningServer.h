#pragma once
#include "TestDatabase.h"
#include "net/Server.h"
#include "storage/StorageFactory.h"

#include <memory>
#include <string>
#include <thread>

/// The real application server on 127.0.0.1, in this process on a background thread, over a
/// fresh database of the suite's backend (see TestDatabase), or over the database of another
/// RunningServer, as a second server of the same company would.
class RunningServer {
public:
    /// Starts on a free port; maxLineLength bounds request lines as the program's option does,
    /// connections and token are the server's own.
    explicit RunningServer(std::size_t maxLineLength = 16 * 1024 * 1024,
                           ger::ConnectionLimits connections = {}, ger::AccessToken token = {});
    /// A second server on the database of another one.
    struct SameDatabaseAs {
        const RunningServer& server;
    };
    explicit RunningServer(SameDatabaseAs other);
    ~RunningServer();

    unsigned short Port() const { return port_; }
    /// The URL of the server's database, for hosts that read it directly.
    const std::string& DatabaseUrl() const { return factory_->Url(); }
    /// A new session on the server's database, for setting up and checking rows directly.
    std::unique_ptr<ger::Storage> OpenStorage() const { return factory_->Open(); }
    /// Stops the server; the database stays.
    void Stop();
    /// Starts it again on the same port.
    void Restart();

private:
    void Start(unsigned short port);

    std::shared_ptr<TestDatabase> database_;
    std::unique_ptr<ger::StorageFactory> factory_;
    std::size_t maxLineLength_;
    ger::ConnectionLimits connections_;
    ger::AccessToken token_;
    std::unique_ptr<ger::Server> server_;
    std::thread thread_;
    unsigned short port_ = 0;
};
