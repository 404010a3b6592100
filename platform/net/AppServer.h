#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace plat {

class TNetConnection;

/// The application server's remote data module as handed out by a TNetConnection: methods
/// called late-bound, by name, with positional arguments.
class TAppServer {
public:
    /// A handle on the server behind connection (which must outlive it).
    explicit TAppServer(TNetConnection& connection) : connection_(&connection) {}

    /// Calls method (bare name, e.g. "GetItems") with args (a JSON array) and waits for the
    /// answer; returns the whole JSON-RPC response, success or error alike, for
    /// CheckResultServ. A broken connection throws EDatabaseError.
    nlohmann::json Call(const std::string& method, const nlohmann::json& args) const;

private:
    TNetConnection* connection_;
};

} // namespace plat
