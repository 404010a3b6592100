#pragma once
#include "guard/RequestLimits.h"
#include "rdm/DeltaPacket.h"
#include "storage/Storage.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace ger {

/// A request line read and its envelope checked, ready to run.
struct Request {
    nlohmann::json id;         ///< null for a notification
    bool notification = false; ///< no "id": run it, answer nothing
    std::string method;        ///< full name, "Ger06700.rdmFormPgto.GetDiaPgto"
    nlohmann::json params;     ///< positional arguments (an array once checked)
    bool writes = false;       ///< changes stored data: runs inside a write transaction
    /// A Set method's change log, read and checked on the network thread; its packet is then
    /// dropped from params, so the database thread neither reads nor frees it.
    std::optional<DeltaPacket> delta;
};

/// The answer to one request line.
struct Reply {
    std::optional<std::string> line; ///< the response, without its newline; none to send
    bool ok = true;                  ///< false when the response is an error
    std::string outcome = "ok";      ///< for the log: "ok" or the error code
};

/// Turns JSON-RPC 2.0 request lines into response lines, doing no network I/O and holding no
/// state: Parse reads the line under the request limits and checks the whole call (on the
/// network thread, without the database), Execute runs the call on the storage session it is
/// given (on a database thread). Every failure becomes a
/// JSON-RPC error whose message can be shown to the user; nothing escapes as an exception.
class RequestHandler {
public:
    /// The request of line, or the reply when it needs no database (blank line, a request
    /// that is malformed, over a limit or refused by its checks: answered at once).
    static std::variant<Request, Reply> Parse(std::string_view line,
                                              const RequestLimits& limits = {});
    /// Runs request on storage. A write runs inside the caller's transaction or savepoint and
    /// changes nothing when the reply is not ok.
    static Reply Execute(const Request& request, Storage& storage);
    /// The reply for a request whose changes were applied but could not be made durable.
    static Reply DatabaseFailure(const Request& request, const std::string& message);
    /// Parse and Execute in one, for a caller that holds its own session (tools, tests); a write
    /// runs in a transaction of its own.
    static Reply Handle(std::string_view line, Storage& storage, const RequestLimits& limits = {});

    /// The response to a request line longer than the server accepts.
    static std::string LineTooLong(std::size_t limit);
    /// The response to a client refused because the server has no descriptor left for it.
    static std::string NoResources();
};

} // namespace ger
