#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ger {

/// Writes JSON text straight into an answer, exactly as nlohmann::json's compact dump writes the
/// same values (UTF-8 kept as it is, invalid UTF-8 replaced, keys in the order the caller
/// writes them): answers built from rows need no JSON tree first, which was most of a read's
/// own cost.
namespace JsonText {

void AppendString(std::string& out, std::string_view text);
/// Any value, through nlohmann's writer: numbers, null, ids.
void AppendValue(std::string& out, const nlohmann::json& value);

} // namespace JsonText
} // namespace ger
