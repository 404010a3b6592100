#pragma once
#include "storage/Database.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace ger {

/// The one writer of an SQLite database. It takes every write queued since its last commit,
/// applies them in one transaction with a savepoint each (a refused or failed change rolls
/// back to its savepoint and the others go on), commits once, and only then reports each job
/// done: many changes share one wait for the disk (group commit).
class GroupCommitWriter {
public:
    explicit GroupCommitWriter(std::unique_ptr<Storage> session);
    GroupCommitWriter(const GroupCommitWriter&) = delete;
    GroupCommitWriter& operator=(const GroupCommitWriter&) = delete;
    /// Writes what is queued, then joins the thread.
    ~GroupCommitWriter();

    /// Queues job for the next group; safe from any thread.
    void Submit(Database::WriteJob job);

private:
    void Work();
    /// Moves what was queued meanwhile into group, up to the group's bound; false when there
    /// was nothing. tried: the jobs of the group already applied.
    bool TakeQueued(std::deque<Database::WriteJob>& group, std::size_t tried);
    /// Applies and commits one group; jobs it could not try go back to the queue.
    void WriteGroup(std::deque<Database::WriteJob>& group);

    std::unique_ptr<Storage> session_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Database::WriteJob> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace ger
