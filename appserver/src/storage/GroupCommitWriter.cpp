#include "storage/GroupCommitWriter.h"

#include "storage/Savepoint.h"
#include "storage/StorageError.h"

#include <vector>

namespace ger {
namespace {

// Bounds the time the first change of a group waits for the last one to be applied.
constexpr std::size_t kMaxGroup = 512;

} // namespace

GroupCommitWriter::GroupCommitWriter(std::unique_ptr<Storage> session)
    : session_(std::move(session)), thread_([this] { Work(); }) {}

GroupCommitWriter::~GroupCommitWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void GroupCommitWriter::Submit(Database::WriteJob job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void GroupCommitWriter::Work() {
    std::deque<Database::WriteJob> group;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            while (!jobs_.empty() && group.size() < kMaxGroup) {
                group.push_back(std::move(jobs_.front()));
                jobs_.pop_front();
            }
        }
        WriteGroup(group);
        if (!group.empty()) {
            // Not tried because the engine ended the transaction: first in line next time.
            std::lock_guard lock(mutex_);
            while (!group.empty()) {
                jobs_.push_front(std::move(group.back()));
                group.pop_back();
            }
        }
    }
}

bool GroupCommitWriter::TakeQueued(std::deque<Database::WriteJob>& group, std::size_t tried) {
    std::lock_guard lock(mutex_);
    while (!jobs_.empty() && tried + group.size() < kMaxGroup) {
        group.push_back(std::move(jobs_.front()));
        jobs_.pop_front();
    }
    return !group.empty();
}

void GroupCommitWriter::WriteGroup(std::deque<Database::WriteJob>& group) {
    Storage& storage = *session_;
    try {
        storage.BeginWrite();
    } catch (const StorageError& error) {
        for (auto& job : group)
            job.done(error.what());
        group.clear();
        return;
    }

    std::vector<Database::WriteJob> tried;
    std::vector<bool> kept;
    std::optional<std::string> failure;
    // Changes queued while the group was applied join it before the commit: they would
    // otherwise wait for this commit and then pay for one of their own.
    while (!group.empty() || TakeQueued(group, tried.size())) {
        Database::WriteJob job = std::move(group.front());
        group.pop_front();
        bool keep = false;
        try {
            Savepoint savepoint(storage, "delta");
            keep = job.apply(storage);
            if (keep) savepoint.Release();
        } catch (const std::exception& error) {
            keep = false;
            if (!storage.InTransaction()) failure = error.what();
        }
        tried.push_back(std::move(job));
        kept.push_back(keep);
        if (!storage.InTransaction()) {
            // A failure (disk full, I/O) made the engine roll the whole group back.
            if (!failure)
                failure = "Erro no banco de dados do servidor de aplicação: a transação foi "
                          "desfeita.";
            break;
        }
    }
    if (!failure) {
        try {
            storage.Commit();
        } catch (const StorageError& error) {
            failure = error.what();
            try {
                storage.Rollback();
            } catch (const StorageError&) {
                // Nothing of the group was kept either way.
            }
        }
    }
    for (std::size_t i = 0; i < tried.size(); ++i)
        tried[i].done(kept[i] ? failure : std::nullopt);
}

} // namespace ger
