#include "core/Value.h"

#include "core/Abort.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plat {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// UTF-8 lead byte of U+00C0..U+00FF; the second byte then selects the letter.
constexpr unsigned char kLatin1Lead = 0xC3;
// U+0178 (Y with diaeresis), the capital of U+00FF, lies outside Latin-1.
constexpr unsigned char kCapitalYDiaeresisLead = 0xC5;
constexpr unsigned char kCapitalYDiaeresisTail = 0xB8;
constexpr unsigned char kSmallYDiaeresisTail = 0xBF;

} // namespace

std::string FloatToStr(double value, int precision) {
    if (value == 0) return "0"; // also for -0, which users never want to see
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                      std::clamp(precision, 1, 17));
    if (error != std::errc()) return "0";
    std::string text(buffer, end);
    // The exponent as the user reads it: "1E-5", "1.5E20", not "1e-05", "1.5e+20".
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return text;
    std::string exponent = text.substr(e + 1);
    const bool negative = exponent.front() == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    return text.substr(0, e) + (negative ? "E-" : "E") + exponent;
}

double StrToFloat(const std::string& text) {
    std::string number(TrimBlanks(text));
    std::replace(number.begin(), number.end(), ',', '.');
    const auto invalid = [&] {
        return EDatabaseError("'" + text + "' não é um valor numérico válido.");
    };
    // from_chars also reads "inf", "nan" and hexadecimal digits: none of them is a typed number.
    const bool onlyNumberCharacters = std::all_of(number.begin(), number.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
    });
    if (number.empty() || !onlyNumberCharacters) throw invalid();
    const std::size_t start = number.front() == '+' ? 1 : 0;
    if (start == 1 && number.size() > 1 && number[1] == '-') throw invalid();
    double value = 0;
    const auto [end, error] =
        std::from_chars(number.data() + start, number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        throw invalid();
    return value;
}

int StrToInt(const std::string& text) {
    const std::string_view number = TrimBlanks(text);
    const std::size_t start = !number.empty() && number.front() == '+' ? 1 : 0;
    int value = 0;
    const auto [end, error] =
        std::from_chars(number.data() + start, number.data() + number.size(), value);
    const bool signAlone = number.size() == start;
    if (signAlone || error != std::errc() || end != number.data() + number.size() ||
        (start == 1 && number.size() > 1 && number[1] == '-'))
        throw EDatabaseError("'" + text + "' não é um número inteiro válido.");
    return value;
}

std::string UpperCase(const std::string& text) {
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto c = static_cast<unsigned char>(result[i]);
        if (c >= 'a' && c <= 'z') {
            result[i] = static_cast<char>(c - ('a' - 'A'));
        } else if (c == kLatin1Lead && i + 1 < result.size()) {
            auto tail = static_cast<unsigned char>(result[i + 1]);
            if (tail >= 0xA0 && tail <= 0xBE && tail != 0xB7) { // à..þ without the division sign
                result[i + 1] = static_cast<char>(tail - 0x20);
            } else if (tail == kSmallYDiaeresisTail) {
                result[i] = static_cast<char>(kCapitalYDiaeresisLead);
                result[i + 1] = static_cast<char>(kCapitalYDiaeresisTail);
            }
            ++i;
        }
    }
    return result;
}

std::string LowerCase(const std::string& text) {
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto c = static_cast<unsigned char>(result[i]);
        if (c >= 'A' && c <= 'Z') {
            result[i] = static_cast<char>(c + ('a' - 'A'));
        } else if (i + 1 < result.size() && (c == kLatin1Lead || c == kCapitalYDiaeresisLead)) {
            auto tail = static_cast<unsigned char>(result[i + 1]);
            if (c == kLatin1Lead && tail >= 0x80 && tail <= 0x9E && tail != 0x97) { // À..Þ, not ×
                result[i + 1] = static_cast<char>(tail + 0x20);
            } else if (c == kCapitalYDiaeresisLead && tail == kCapitalYDiaeresisTail) {
                result[i] = static_cast<char>(kLatin1Lead);
                result[i + 1] = static_cast<char>(kSmallYDiaeresisTail);
            }
            ++i;
        }
    }
    return result;
}

std::size_t Utf8Length(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::string Utf8Left(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size(); ++end) {
        if (!IsContinuationByte(text[end]) && characters++ == count) break;
    }
    return text.substr(0, end);
}

std::string Utf8DropLast(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsContinuationByte(text[end - 1]))
        --end;
    return text.substr(0, end == 0 ? 0 : end - 1);
}

std::vector<std::string> Utf8Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t next = i + 1;
        while (next < text.size() && IsContinuationByte(text[next]))
            ++next;
        characters.push_back(text.substr(i, next - i));
        i = next;
    }
    return characters;
}

bool SameText(std::string_view a, std::string_view b) {
    return LowerCase(std::string(a)) == LowerCase(std::string(b));
}

} // namespace plat
