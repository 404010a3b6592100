#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ger {

/// Checks on texts received from clients.
namespace Utf8Text {

/// True when text is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
/// surrogates, nothing above U+10FFFF.
bool IsValid(std::string_view text);
/// True when text is valid UTF-8 and holds no NUL, which the database would cut the text at.
bool IsAcceptable(std::string_view text);
/// Characters of a valid UTF-8 text.
std::size_t Characters(std::string_view text);
/// At most maxBytes of text, cut at a character boundary and marked "…" when cut, with
/// anything not acceptable replaced: for quoting client texts in messages.
std::string Excerpt(std::string_view text, std::size_t maxBytes = 40);

} // namespace Utf8Text
} // namespace ger
