#pragma once
#include <map>
#include <string>

namespace ger06700 {

/// The files of the screen's resource description, by file name, as built into the module.
const std::map<std::string, std::string>& ResourceFiles();

/// The content of one resource file; throws when the module carries no such file.
const std::string& ResourceFile(const std::string& name);

} // namespace ger06700
