#pragma once
#include "core/Value.h"

#include <string>

namespace gerscript {

/// Text as a JSON string: UTF-8 kept as it is, only '"', '\' and control characters escaped,
/// invalid UTF-8 replaced by U+FFFD.
std::string JsonText(const std::string& text);

/// Text on one transcript line: as it is, but with control characters escaped as in JSON and
/// invalid UTF-8 replaced, so that a message can never break the line format.
std::string LineText(const std::string& text);

/// A number in its shortest exact form: 1, 2.5, 0.1, 1e+20.
std::string NumberText(double number);

/// A field value: text as a JSON string, a number in shortest form, null as null.
std::string ValueText(const plat::Value& value);

} // namespace gerscript
