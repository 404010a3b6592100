#pragma once
#include <chrono>
#include <cstddef>

namespace ger {

/// Bounds on what clients may hold of the server, so that no client, and no crowd of clients,
/// can exhaust it or keep it waiting. Every bound has its command-line option.
struct ConnectionLimits {
    /// Clients served at once; one more gets an error line and is closed. An idle client
    /// costs a descriptor and a few hundred bytes.
    std::size_t maxConnections = 1000;
    /// Request text received and not yet served, across all connections: unfinished lines and
    /// lines waiting their turn. Without it every client could hold the longest line.
    std::size_t maxBufferedBytes = 64 * 1024 * 1024;
    /// Requests one client may send ahead of its answers; the hosts send one at a time.
    std::size_t maxQueuedRequests = 16;
    /// A client with no line begun and no call in progress is closed after this long.
    std::chrono::milliseconds idleTimeout = std::chrono::seconds(600);
    /// A line must be complete this long after its first byte arrived.
    std::chrono::milliseconds lineTimeout = std::chrono::seconds(30);
    /// An answer must be taken by the client within this long. The next request is read only
    /// once the answer before it is written, so one answer is all a client that never reads
    /// can leave waiting.
    std::chrono::milliseconds sendTimeout = std::chrono::seconds(30);
};

} // namespace ger
