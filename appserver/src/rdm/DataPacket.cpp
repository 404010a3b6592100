#include "rdm/DataPacket.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace ger {
namespace {

nlohmann::json TextValue(const SqlValue& value) {
    if (auto* text = std::get_if<std::string>(&value)) return *text;
    if (auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
    if (auto* number = std::get_if<double>(&value)) {
        std::ostringstream out;
        out.precision(15);
        out << *number;
        return out.str();
    }
    return nullptr;
}

nlohmann::json NumberValue(const SqlValue& value) {
    double number = 0;
    if (auto* real = std::get_if<double>(&value))
        number = *real;
    else if (auto* integer = std::get_if<std::int64_t>(&value))
        number = static_cast<double>(*integer);
    else if (auto* text = std::get_if<std::string>(&value)) {
        char* end = nullptr;
        number = std::strtod(text->c_str(), &end);
        if (text->empty() || *end != '\0') return nullptr;
    } else
        return nullptr;
    // JSON has no infinities or NaN.
    return std::isfinite(number) ? nlohmann::json(number) : nlohmann::json(nullptr);
}

} // namespace

nlohmann::json DataPacket::FieldJson(const FieldDef& field) {
    if (field.type == FieldType::Float) return {{"name", field.name}, {"type", "float"}};
    return {{"name", field.name}, {"type", "string"}, {"size", field.size}};
}

nlohmann::json DataPacket::Build(const std::vector<FieldDef>& fields,
                                 const std::vector<SqlRow>& rows) {
    nlohmann::json fieldList = nlohmann::json::array();
    for (const auto& field : fields)
        fieldList.push_back(FieldJson(field));
    nlohmann::json rowList = nlohmann::json::array();
    for (const auto& row : rows) {
        nlohmann::json values = nlohmann::json::array();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const SqlValue& value = i < row.size() ? row[i] : SqlValue{};
            values.push_back(fields[i].type == FieldType::Float ? NumberValue(value)
                                                                : TextValue(value));
        }
        rowList.push_back(std::move(values));
    }
    return {{"fields", std::move(fieldList)}, {"rows", std::move(rowList)}};
}

} // namespace ger
