#pragma once
#include "guard/RequestLimits.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace ger {

/// The call a client opens its connection with when the server requires a token:
/// {"jsonrpc":"2.0","id":1,"method":"Login","params":["TOKEN"]}.
struct LoginCall {
    static constexpr std::string_view kMethod = "Login";

    nlohmann::json id;                ///< echoed in the answer
    std::optional<std::string> token; ///< none when the params are not one text

    /// The login call of line, or none when line is some other request (or no JSON at all).
    static std::optional<LoginCall> Parse(std::string_view line, const RequestLimits& limits);
};

} // namespace ger
