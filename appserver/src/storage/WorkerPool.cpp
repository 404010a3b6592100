#include "storage/WorkerPool.h"

namespace ger {

WorkerPool::WorkerPool(std::size_t threads, const SessionOpener& open) {
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

void WorkerPool::Work(Storage& session) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return; // stopping, and nothing left to do
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job(session);
    }
}

} // namespace ger
