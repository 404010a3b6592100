#pragma once
#include "storage/Database.h"
#include "storage/WorkerPool.h"

#include <string>

namespace ger {

/// PostgreSQL: two pools of connections, one for reads and one for writes. Each write is one
/// read-committed transaction that locks the rows it relies on; one that collides with a
/// concurrent transaction (of this server or another one on the same database: a deadlock, a
/// code stored meanwhile) runs again from the start, and then sees the other's change. The
/// server itself keeps nothing between calls, so any number of servers can share the database.
class PostgresDatabase final : public Database {
public:
    PostgresDatabase(const std::string& url, const DatabaseOptions& options);

    void Read(ReadJob job) override { readers_.Submit(std::move(job)); }
    bool WaitOnReadThread(const std::function<bool()>& arrived) override {
        return readers_.SpinUntil(arrived);
    }
    void Write(WriteJob job) override;

private:
    WorkerPool readers_;
    WorkerPool writers_;
};

} // namespace ger
