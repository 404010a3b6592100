// Fuzzes reading a request line: the bounded parser must never crash, never build a value
// deeper or larger than its limits, and agree with the library's own parser on what is JSON.
#include "guard/BoundedJsonParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

std::size_t Depth(const nlohmann::json& value, std::size_t level = 0) {
    std::size_t deepest = level;
    if (value.is_structured())
        for (const auto& item : value)
            deepest = std::max(deepest, Depth(item, level + 1));
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ger::RequestLimits limits;
    limits.maxDepth = 8;
    limits.maxValues = 2000;
    auto result = ger::BoundedJsonParser(limits).Parse(text);
    using Outcome = ger::BoundedJsonParser::Outcome;
    if (result.outcome == Outcome::Parsed) {
        if (Depth(result.value) >= limits.maxDepth) std::abort();
        // What was accepted is JSON, the same value the library reads, and prints back to it.
        auto reference = nlohmann::json::parse(text, nullptr, false);
        if (reference.is_discarded() || reference != result.value) std::abort();
        const auto copy = result.value;
        if (nlohmann::json::parse(
                copy.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) != copy)
            std::abort();
    } else if (result.outcome == Outcome::Malformed) {
        if (!nlohmann::json::parse(text, nullptr, false).is_discarded()) std::abort();
        if (!result.value.is_null()) std::abort();
    }
    return 0;
}
