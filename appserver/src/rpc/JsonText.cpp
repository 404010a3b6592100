#include "rpc/JsonText.h"

#include "guard/Utf8Text.h"

namespace ger::JsonText {

void AppendValue(std::string& out, const nlohmann::json& value) {
    // Texts read from legacy tables may not be valid UTF-8; never let that break an answer.
    out += value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void AppendString(std::string& out, std::string_view text) {
    bool ascii = true;
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    // A text with bytes the replacement would touch goes through nlohmann, whose replacement
    // rules the answer keeps.
    if (!ascii && !Utf8Text::IsValid(text)) return AppendValue(out, std::string(text));
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xf];
            } else
                out += c;
        }
    }
    out += '"';
}

} // namespace ger::JsonText
