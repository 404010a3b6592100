#include "storage/PostgresDatabase.h"

#include "storage/PostgresStorage.h"
#include "storage/StorageError.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace ger {
namespace {

// Collisions resolve after one retry in practice; the bound only stops a pathological loop.
constexpr int kMaxAttempts = 8;

/// Waits a random while, growing with the attempt, so that two writers that collided do not
/// collide again at once.
void BackOff(int attempt) {
    thread_local std::minstd_rand random{std::random_device{}()};
    const int ceiling = 200 << std::min(attempt, 6); // microseconds
    std::this_thread::sleep_for(std::chrono::microseconds(random() % ceiling));
}

void RunWrite(Storage& storage, const Database::WriteJob& job) {
    for (int attempt = 1;; ++attempt) {
        const bool mayRetry = attempt < kMaxAttempts;
        try {
            storage.BeginWrite();
            const bool keep = job.apply(storage);
            if (storage.RetryableFailure() && mayRetry) {
                storage.Rollback();
                BackOff(attempt);
                continue;
            }
            if (!keep) {
                storage.Rollback();
                job.done(std::nullopt);
                return;
            }
            storage.Commit();
            job.done(std::nullopt);
            return;
        } catch (const StorageError& error) {
            const bool retry = storage.RetryableFailure() && mayRetry;
            try {
                storage.Rollback();
            } catch (const StorageError&) {
                // The connection is gone; the next statement reconnects.
            }
            if (retry) {
                BackOff(attempt);
                continue;
            }
            job.done(error.what());
            return;
        }
    }
}

} // namespace

PostgresDatabase::PostgresDatabase(const std::string& url, const DatabaseOptions& options)
    : readers_(options.readers, [&] { return std::make_unique<PostgresStorage>(url); }),
      writers_(options.writers, [&] { return std::make_unique<PostgresStorage>(url); }) {}

void PostgresDatabase::Write(WriteJob job) {
    writers_.Submit([job = std::move(job)](Storage& storage) { RunWrite(storage, job); });
}

} // namespace ger
