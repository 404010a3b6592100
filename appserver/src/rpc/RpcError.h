#pragma once
#include <stdexcept>
#include <string>

namespace ger {

/// A failure that goes back to the client as a JSON-RPC error; the message is Portuguese and
/// written to be shown to the user as it is.
class RpcError : public std::runtime_error {
public:
    enum Code : int {
        ParseError = -32700,
        InvalidRequest = -32600,
        MethodNotFound = -32601,
        InvalidParams = -32602,
        InternalError = -32603,
        Refused = 1,       ///< a delta the server will not apply (bad value, conflict, duplicate)
        DatabaseError = 2, ///< the database failed (cannot open, busy, I/O)
        AccessDenied = 3,  ///< no login, or a wrong token, on a server that requires one
    };

    RpcError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace ger
