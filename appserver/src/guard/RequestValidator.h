#pragma once
#include "guard/RequestLimits.h"
#include "rdm/DeltaPacket.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace ger {

/// Checks a call completely before anything reaches the database: the method is one of the
/// module's six, its arguments have the right number and kinds, a code fits its column, a
/// delta has the table's shape, no more changes than allowed, and values the table accepts.
/// Storage-free, so a refusal costs no database work and the checks can be fuzzed alone.
class RequestValidator {
public:
    explicit RequestValidator(const RequestLimits& limits) : limits_(limits) {}

    /// Throws RpcError (MethodNotFound, InvalidParams, Refused) for a call the server will not
    /// serve; method is the full name, "Ger06700.rdmFormPgto.GetDiaPgto". Returns the change
    /// log of a Set method as read while checking it, so it is not read again.
    std::optional<DeltaPacket> Check(const std::string& method, const nlohmann::json& params) const;

    /// Checks one delta packet for the table its method writes; the change log it holds.
    DeltaPacket CheckDelta(const std::string& method, const nlohmann::json& packet) const;

private:
    RequestLimits limits_;
};

} // namespace ger
