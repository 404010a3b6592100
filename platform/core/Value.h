#pragma once
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace plat {

/// A field value: null, text or floating-point number.
using Value = std::variant<std::monostate, std::string, double>;

inline bool IsNullValue(const Value& v) {
    return std::holds_alternative<std::monostate>(v);
}

/// Shortest general text of a number with up to precision significant digits: plain digits
/// ("1", "2.5", "0.0001", "100000000000000") while the decimal exponent lies from -4 up to
/// one below precision, otherwise a mantissa and "E" with the exponent's shortest form
/// ("1E-5", "1E15", "-2.5E-7"); never a "+" or leading zeros in the exponent.
std::string FloatToStr(double value, int precision = 15);

/// Reads a number the way users type it (a comma counts as decimal point); throws
/// EDatabaseError with a user-readable message when the text is no number.
double StrToFloat(const std::string& text);

/// Integer value of a text; throws EDatabaseError when the text is no whole number.
int StrToInt(const std::string& text);

/// Upper and lower case of ASCII and of the accented Latin letters.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);

/// Number of characters (not bytes) of a UTF-8 text.
std::size_t Utf8Length(const std::string& text);
/// The first count characters of a UTF-8 text.
std::string Utf8Left(const std::string& text, std::size_t count);
/// The text without its last character.
std::string Utf8DropLast(const std::string& text);
/// The characters of a UTF-8 text, each as its own text.
std::vector<std::string> Utf8Characters(const std::string& text);

/// True when the two texts are equal but for the letter case.
bool SameText(std::string_view a, std::string_view b);

} // namespace plat
