#pragma once
#include <string>
#include <vector>

namespace plat {

/// A statement text cut at its named parameters (":NAME"), so that every database driver can
/// put in its own placeholders and bind the values: parameters are never spliced into SQL.
struct TParsedSql {
    std::vector<std::string> fragments; ///< text around the parameters: one more than names
    std::vector<std::string> names;     ///< parameter names in upper case, in order of use
};

/// Cuts sql at its named parameters. Text inside quotes and comments, and the "::" of a
/// type cast, are not parameters.
TParsedSql ParseNamedParams(const std::string& sql);

} // namespace plat
