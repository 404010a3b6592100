#include "net/LoginCall.h"

#include "guard/BoundedJsonParser.h"

namespace ger {

std::optional<LoginCall> LoginCall::Parse(std::string_view line, const RequestLimits& limits) {
    // Most lines are other calls: skip the parse unless the method's name is there at all.
    if (line.find(kMethod) == std::string_view::npos) return std::nullopt;
    auto parsed = BoundedJsonParser(limits).Parse(line);
    if (parsed.outcome != BoundedJsonParser::Outcome::Parsed || !parsed.value.is_object())
        return std::nullopt;
    const nlohmann::json& call = parsed.value;
    const auto method = call.find("method");
    if (method == call.end() || *method != kMethod) return std::nullopt;
    LoginCall login;
    if (const auto id = call.find("id"); id != call.end() && (id->is_string() || id->is_number()))
        login.id = *id;
    const auto params = call.find("params");
    if (params != call.end() && params->is_array() && params->size() == 1 &&
        params->front().is_string())
        login.token = params->front().get<std::string>();
    return login;
}

} // namespace ger
