#pragma once
#include <stdexcept>

namespace ger {

/// A failure of the database itself (cannot open, locked, I/O); its message is written for the
/// user and names what failed.
struct StorageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace ger
