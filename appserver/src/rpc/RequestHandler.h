#pragma once
#include "storage/StorageFactory.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace ger {

class RdmFormPgto;

/// Turns one JSON-RPC 2.0 request line into its response line, doing no network I/O. Each
/// client connection has its own handler and with it its own storage session, opened at the
/// first call that needs it. Every failure becomes a JSON-RPC error whose message can be shown
/// to the user; nothing escapes as an exception.
class RequestHandler {
public:
    explicit RequestHandler(const StorageFactory& storageFactory);
    RequestHandler(const RequestHandler&) = delete;
    RequestHandler& operator=(const RequestHandler&) = delete;
    ~RequestHandler();

    /// The response to line, without its newline; nothing for a blank line or a notification
    /// (a request without "id").
    std::optional<std::string> Handle(std::string_view line);

    /// The response to a request line longer than the server accepts.
    static std::string LineTooLong(std::size_t limit);

private:
    nlohmann::json Dispatch(const std::string& method, const nlohmann::json& params);

    const StorageFactory& storageFactory_;
    std::unique_ptr<Storage> storage_;
    std::unique_ptr<RdmFormPgto> module_;
};

} // namespace ger
