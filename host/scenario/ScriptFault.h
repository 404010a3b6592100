#pragma once
#include <stdexcept>

namespace gerscript {

/// A script line that cannot be carried out as a user action: the script is wrong, not the
/// screen. The runner reports it with the line number and stops.
struct ScriptFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace gerscript
