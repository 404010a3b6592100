#pragma once
#include "guard/RequestLimits.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ger {

/// Reads one JSON text under the request limits. It builds the value itself from the
/// parser's events, so it refuses a text at the first array or object beyond the deepest
/// nesting or the first value beyond the count, before allocating it; nothing recurses on
/// the client's nesting, and whatever it returns is shallow enough to copy, compare, print
/// and destroy safely. A key repeated in one object is refused: two readers could take
/// different values from it.
class BoundedJsonParser {
public:
    enum class Outcome { Parsed, Malformed, TooDeep, TooManyValues, DuplicateKey };

    struct Result {
        Outcome outcome = Outcome::Malformed;
        nlohmann::json value;  ///< the text's value, when parsed
        std::string duplicate; ///< the repeated key, for DuplicateKey
    };

    explicit BoundedJsonParser(const RequestLimits& limits) : limits_(limits) {}

    Result Parse(std::string_view text) const;

private:
    RequestLimits limits_;
};

} // namespace ger
