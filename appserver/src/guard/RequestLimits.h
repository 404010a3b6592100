#pragma once
#include <cstddef>

namespace ger {

/// Bounds on what one request may hold, checked while it is read and before it is served.
/// The defaults leave ample room for the screen's largest delta (a whole schedule is a few
/// kB) while keeping what one request can make the server allocate to a few MB.
struct RequestLimits {
    std::size_t maxLineBytes = 256 * 1024; ///< longest request line, without its newline
    std::size_t maxDepth = 16;             ///< deepest nesting of arrays and objects
    std::size_t maxValues = 50000;         ///< values of every kind in one request
    std::size_t maxChanges = 1000;         ///< changes in one delta packet
};

} // namespace ger
