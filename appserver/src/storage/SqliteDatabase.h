#pragma once
#include "storage/Database.h"
#include "storage/GroupCommitWriter.h"
#include "storage/WorkerPool.h"

#include <string>

namespace ger {

/// SQLite: a pool of read sessions, which the write-ahead log lets run beside the writer, and
/// one group-committing writer.
class SqliteDatabase final : public Database {
public:
    SqliteDatabase(const std::string& path, const DatabaseOptions& options);

    void Read(ReadJob job) override { readers_.Submit(std::move(job)); }
    bool WaitOnReadThread(const std::function<bool()>& arrived) override {
        return readers_.SpinUntil(arrived);
    }
    void Write(WriteJob job) override { writer_.Submit(std::move(job)); }

private:
    // The writer goes first on destruction, so no write is left waiting for a read session.
    WorkerPool readers_;
    GroupCommitWriter writer_;
};

} // namespace ger
