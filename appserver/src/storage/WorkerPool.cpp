#include "storage/WorkerPool.h"

#include "storage/StorageError.h"

#include <algorithm>
#include <chrono>
#include <sched.h>
#include <spdlog/spdlog.h>

namespace ger {
namespace {

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waking a sleeping thread costs the caller more than the database work of a short read on a
// virtual machine, and a client that calls again calls within a round trip on the network.
// One idle thread waits this long on the processor before it sleeps: long enough for the
// round trip, short enough that an idle server uses no processor time.
constexpr auto kSpin = std::chrono::microseconds(100);

} // namespace

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
    std::size_t queued;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        queued = jobs_.size();
        queued_.store(queued);
    }
    // The spinning thread takes a lone job itself; it checks the queue under the lock after
    // it stopped spinning, so a job queued as it gives up is not missed.
    if (queued > 1 || !spinning_.load()) wake_.notify_one();
}

void WorkerPool::SpinForAJob() {
    if (spinning_.exchange(true)) return;
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (unsigned round = 1; queued_.load(std::memory_order_relaxed) == 0; ++round) {
        Relax();
        if (round % 64 != 0) continue;
        if (std::chrono::steady_clock::now() >= until) break;
        sched_yield();
    }
    spinning_.store(false);
}

bool WorkerPool::SpinUntil(const std::function<bool()>& arrived) {
    if (spinning_.exchange(true)) return false;
    const auto until = std::chrono::steady_clock::now() + kSpin;
    bool got = false;
    for (unsigned round = 1; queued_.load(std::memory_order_relaxed) == 0; ++round) {
        if ((got = arrived())) break;
        if (round % 8 != 0) continue;
        if (std::chrono::steady_clock::now() >= until) break;
        sched_yield();
    }
    spinning_.store(false);
    // A job queued meanwhile woke no thread, as this one was taken to be on its way.
    if (got && queued_.load() > 0) wake_.notify_one();
    return got;
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
        if (queued_.load(std::memory_order_relaxed) == 0) SpinForAJob();
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return; // stopping, and nothing left to do
            const std::size_t take = std::min(jobs_.size(), batch_);
            for (std::size_t i = 0; i < take; ++i) {
                batch.push_back(std::move(jobs_.front()));
                jobs_.pop_front();
            }
            queued_.store(jobs_.size());
        }
        if (batch.size() == 1)
            batch.front()(session);
        else
            RunTogether(batch, session);
        batch.clear();
    }
}

} // namespace ger
