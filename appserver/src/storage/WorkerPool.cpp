#include "storage/WorkerPool.h"

#include "storage/StorageError.h"

#include <algorithm>
#include <spdlog/spdlog.h>

namespace ger {

WorkerPool::WorkerPool(std::size_t threads, const SessionOpener& open, std::size_t batch)
    : batch_(batch) {
    for (std::size_t i = 0; i < threads; ++i)
        sessions_.push_back(open());
    for (auto& session : sessions_)
        threads_.emplace_back([this, storage = session.get()] { Work(*storage); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void WorkerPool::Submit(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerPool::RunTogether(std::vector<Job>& batch, Storage& session) {
    // The transaction begins after every job of the batch was queued, so each still sees
    // what was committed before its call arrived. Should it fail to begin or end, the jobs
    // run (or have run) on their own: the jobs report their own failures.
    try {
        session.Execute("BEGIN");
    } catch (const StorageError& error) {
        spdlog::warn("a batch of reads runs without a shared transaction: {}", error.what());
    }
    for (auto& job : batch)
        job(session);
    try {
        if (session.InTransaction()) session.Commit();
    } catch (const StorageError& error) {
        spdlog::warn("a batch of reads could not end: {}", error.what());
        try {
            session.Rollback();
        } catch (const StorageError&) {
        }
    }
}

void WorkerPool::Work(Storage& session) {
    std::vector<Job> batch;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return; // stopping, and nothing left to do
            const std::size_t take = std::min(jobs_.size(), batch_);
            for (std::size_t i = 0; i < take; ++i) {
                batch.push_back(std::move(jobs_.front()));
                jobs_.pop_front();
            }
        }
        if (batch.size() == 1)
            batch.front()(session);
        else
            RunTogether(batch, session);
        batch.clear();
    }
}

} // namespace ger
