#include "TextFormat.h"

#include <charconv>
#include <nlohmann/json.hpp>

namespace gerscript {

std::string JsonText(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string LineText(const std::string& text) {
    // The JSON form without its quotes, and with the two escapes that a line does not need
    // turned back; the escapes of control characters stay.
    const std::string json = JsonText(text);
    std::string line;
    line.reserve(json.size());
    for (std::size_t i = 1; i + 1 < json.size(); ++i) {
        if (json[i] == '\\' && (json[i + 1] == '"' || json[i + 1] == '\\'))
            ++i;
        else if (json[i] == '\\')
            line += json[i++];
        line += json[i];
    }
    return line;
}

std::string NumberText(double number) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string ValueText(const plat::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return JsonText(*text);
    if (const auto* number = std::get_if<double>(&value)) return NumberText(*number);
    return "null";
}

} // namespace gerscript
