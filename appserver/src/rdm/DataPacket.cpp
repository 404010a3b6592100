#include "rdm/DataPacket.h"

#include "rpc/JsonText.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace ger {
namespace {

/// A value of a text column; numbers stored there by other programs are sent as their text.
void AppendText(std::string& out, const SqlValue& value) {
    if (auto* text = std::get_if<std::string>(&value)) return JsonText::AppendString(out, *text);
    if (auto* integer = std::get_if<std::int64_t>(&value)) {
        out += '"';
        out += std::to_string(*integer);
        out += '"';
        return;
    }
    if (auto* number = std::get_if<double>(&value)) {
        std::ostringstream text;
        text.precision(15);
        text << *number;
        return JsonText::AppendString(out, text.str());
    }
    out += "null";
}

/// A value of a number column; a text stored there that is not a number is sent as null.
void AppendNumber(std::string& out, const SqlValue& value) {
    double number = 0;
    if (auto* real = std::get_if<double>(&value))
        number = *real;
    else if (auto* integer = std::get_if<std::int64_t>(&value))
        number = static_cast<double>(*integer);
    else if (auto* text = std::get_if<std::string>(&value)) {
        char* end = nullptr;
        number = std::strtod(text->c_str(), &end);
        if (text->empty() || *end != '\0') number = NAN;
    } else
        number = NAN;
    // JSON has no infinities or NaN.
    if (!std::isfinite(number)) {
        out += "null";
        return;
    }
    JsonText::AppendValue(out, number);
}

void AppendField(std::string& out, const FieldDef& field) {
    out += "{\"name\":";
    JsonText::AppendString(out, field.name);
    if (field.type == FieldType::Float) {
        out += ",\"type\":\"float\"}";
        return;
    }
    out += ",\"size\":";
    out += std::to_string(field.size);
    out += ",\"type\":\"string\"}";
}

} // namespace

std::string DataPacket::Build(const std::vector<FieldDef>& fields,
                              const std::vector<SqlRow>& rows) {
    std::string out;
    out.reserve(64 * (fields.size() + rows.size() * fields.size() / 4 + 1));
    out += "{\"fields\":[";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        AppendField(out, fields[i]);
    }
    out += "],\"rows\":[";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) out += ',';
        out += '[';
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += ',';
            static const SqlValue kNull;
            const SqlValue& value = i < rows[r].size() ? rows[r][i] : kNull;
            if (fields[i].type == FieldType::Float)
                AppendNumber(out, value);
            else
                AppendText(out, value);
        }
        out += ']';
    }
    out += "]}";
    return out;
}

} // namespace ger
