#pragma once
#include "storage/Storage.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ger {

class StorageFactory;

/// How many database threads serve the calls.
struct DatabaseOptions {
    std::size_t readers = 4; ///< read sessions (both engines)
    std::size_t writers = 4; ///< write sessions on PostgreSQL; SQLite always has one writer
};

/// Runs the server's database work on threads of its own, so the network never waits for the
/// database. Reads and writes have separate threads: a read never queues behind a write.
class Database {
public:
    /// A read: runs on a read session and hands its result on by itself.
    using ReadJob = std::function<void(Storage&)>;
    /// A write: Apply runs inside a transaction on a write session and tells whether its
    /// changes are to be kept; Done runs after the transaction ended, with the reason when
    /// the kept changes could not be made durable (they are then lost).
    struct WriteJob {
        std::function<bool(Storage&)> apply;
        std::function<void(const std::optional<std::string>& failure)> done;
    };

    /// The threading model of the factory's engine.
    static std::unique_ptr<Database> Open(const StorageFactory& factory,
                                          const DatabaseOptions& options);

    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    /// Finishes the queued work, then closes every session.
    virtual ~Database() = default;

    virtual void Read(ReadJob job) = 0;
    virtual void Write(WriteJob job) = 0;
    /// From a read job, once its answer went out: waits a moment on its thread, as an idle read
    /// thread waits for work, until arrived() holds (the client's next call is there), so that
    /// call needs no other thread; false when it gave up: the moment passed, other reads are
    /// queued, or another read thread already waits so.
    virtual bool WaitOnReadThread(const std::function<bool()>& arrived) = 0;
};

} // namespace ger
