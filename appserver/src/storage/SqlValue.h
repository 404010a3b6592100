#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ger {

/// One value passed to or read from SQL: null, text, floating-point number or integer
/// (integers appear as row ids and as counts).
using SqlValue = std::variant<std::monostate, std::string, double, std::int64_t>;
/// One result row, in the order of the SELECT list.
using SqlRow = std::vector<SqlValue>;

} // namespace ger
