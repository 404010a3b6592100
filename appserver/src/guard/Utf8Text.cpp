#include "guard/Utf8Text.h"

#include <algorithm>

namespace ger::Utf8Text {
namespace {

/// Length of the well-formed sequence starting at text[at], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // overlong
        if (lead == 0xED) high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;  // overlong
        if (lead == 0xF4) high = 0x8F; // above U+10FFFF
    } else
        return 0;
    if (at + length > text.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    return length;
}

} // namespace

bool IsValid(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool IsAcceptable(std::string_view text) {
    return text.find('\0') == std::string_view::npos && IsValid(text);
}

std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Excerpt(std::string_view text, std::size_t maxBytes) {
    std::string excerpt;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = SequenceLength(text, at);
        const bool acceptable = length > 0 && text[at] != '\0';
        const std::size_t adds = acceptable ? length : 3; // U+FFFD is three bytes
        if (excerpt.size() + adds > maxBytes) return excerpt + "…";
        if (acceptable)
            excerpt.append(text.substr(at, length));
        else
            excerpt += "\xEF\xBF\xBD";
        at += std::max<std::size_t>(length, 1);
    }
    return excerpt;
}

} // namespace ger::Utf8Text
