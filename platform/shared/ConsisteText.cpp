// The text helpers of the shared unit Consiste; its grid and server helpers live beside it.
#include "shared/Consiste.h"

#include "app/Application.h"
#include "core/Abort.h"
#include "core/Value.h"

#include <algorithm>

namespace plat {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool EmptyString(const std::string& text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

std::string Ajusta(const std::string& text, int width) {
    // Blanks are what a masked cell shows in the places not typed ("5 " for a lone 5);
    // they are no part of the code.
    const std::size_t first = text.find_first_not_of(" \t");
    const std::string code = first == std::string::npos
                                 ? std::string()
                                 : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const std::size_t length = Utf8Length(code);
    if (width <= 0 || length >= static_cast<std::size_t>(width)) return code;
    return std::string(static_cast<std::size_t>(width) - length, '0') + code;
}

void MensErro(const std::string& text, bool abort) {
    Application().Dialogs().ShowError(text);
    if (abort) Abort();
}

std::string Format(const std::string& pattern, const std::string& arg) {
    const std::size_t placeholder = pattern.find("%s");
    if (placeholder == std::string::npos) return pattern;
    std::string result = pattern;
    result.replace(placeholder, 2, arg);
    return result;
}

} // namespace plat
