#pragma once
#include "storage/Storage.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace ger {

/// A fixed number of database threads, each with its own storage session, taking jobs from
/// one queue in order (a batch of them at a time, see the constructor). The sessions are opened
/// before the constructor returns, so a database that cannot be opened is reported at start.
class WorkerPool {
public:
    using Job = std::function<void(Storage&)>;
    using SessionOpener = std::function<std::unique_ptr<Storage>()>;

    /// With batch above 1, a thread that finds several jobs queued takes up to batch of them
    /// and runs them in one transaction: for reads, one snapshot taken after all of them
    /// arrived, at the cost of one lock round instead of one per job.
    WorkerPool(std::size_t threads, const SessionOpener& open, std::size_t batch = 1);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    /// Runs what is queued, then joins the threads and closes the sessions.
    ~WorkerPool();

    /// Queues job for the next free thread; safe from any thread.
    void Submit(Job job);
    /// For a job about to end that expects more work of its own very soon (a client's next
    /// call): waits on the processor, as an idle thread would for a job, until arrived()
    /// holds; false when it gives up first: the moment has passed, a job was queued, or another
    /// thread already waits so. arrived() is called often and must not block.
    bool SpinUntil(const std::function<bool()>& arrived);

private:
    void Work(Storage& session);
    /// Waits a moment on the processor for a job before the thread goes to sleep, so that a
    /// client calling again at once finds a thread awake (see Work).
    void SpinForAJob();
    /// Runs a batch of jobs in one transaction.
    static void RunTogether(std::vector<Job>& batch, Storage& session);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::atomic<std::size_t> queued_{0}; ///< jobs_.size(), read without the lock
    std::atomic<bool> spinning_{false};  ///< one thread at a time waits on the processor
    std::size_t batch_;
    bool stopping_ = false;
    std::vector<std::unique_ptr<Storage>> sessions_;
    std::vector<std::thread> threads_;
};

} // namespace ger
