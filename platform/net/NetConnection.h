#pragma once
#include "core/Component.h"
#include "net/AppServer.h"

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace plat {

class TcpLineClient;

/// A socket connection to the application server (JSON-RPC 2.0, one JSON text per line).
/// Every call is synchronous. A broken connection makes the call raise EDatabaseError and
/// leaves the connection closed; the next call connects again. When the host's configuration
/// names a token file, every connect logs in with its token first; a connection the server
/// closed between two calls (an idle client) is opened again before the next call.
class TNetConnection : public TComponent {
public:
    /// Observer of remote calls: bare method name and arguments, before the call is sent.
    using CallObserver = std::function<void(const std::string& method, const nlohmann::json& args)>;

    TNetConnection(TComponent* owner, std::string name);
    ~TNetConnection() override;

    /// Name of the remote data module, put before each method name ("Module.rdmItems").
    std::string ServerName;
    /// Where the server listens; usually assigned by BeforeConnect.
    std::string Host;
    int Port = 0;
    /// Kept for form definitions written against the old component: failures of the link
    /// always raise, and server error responses always come back to the caller.
    bool ThrowException = true;
    /// Seconds to wait for an answer before the connection counts as broken.
    int ReceiveTimeout = 60;
    /// Runs before every connect (also a reconnect), to assign Host and Port.
    std::function<void(TNetConnection&)> BeforeConnect;

    /// True while the socket is open.
    bool Connected() const;
    /// Connects unless connected; raises EDatabaseError when the server cannot be reached.
    void Open();
    /// Closes the socket; harmless when closed.
    void Close();
    /// Open() for true, Close() for false.
    void SetConnected(bool connected);
    /// The server object whose methods the screen calls.
    TAppServer AppServer() { return TAppServer(*this); }

    /// Installs the process-wide observer of remote calls (null to remove it).
    static void SetCallObserver(CallObserver observer);

private:
    friend class TAppServer;
    nlohmann::json CallRemote(const std::string& method, const nlohmann::json& args);
    [[noreturn]] void Broken(const std::string& reason);
    /// Presents token with the "Login" call; raises EDatabaseError when the server refuses.
    void LogIn(const std::string& token);
    /// One request line sent and its answer line read; raises EDatabaseError on a broken link.
    nlohmann::json Exchange(const nlohmann::json& request, long long id);

    std::unique_ptr<TcpLineClient> socket_;
    long long lastId_ = 0;
};

} // namespace plat
