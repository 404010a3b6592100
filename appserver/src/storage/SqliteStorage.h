#pragma once
#include "storage/Storage.h"

#include <string>

struct sqlite3;

namespace ger {

/// A session with an SQLite database file: write-ahead log, so readers never wait for a
/// writer, and a busy timeout, so two writers queue instead of failing at once.
class SqliteStorage final : public Storage {
public:
    /// Opens the file at path; with create set a missing file is created, otherwise a missing
    /// file is an error (a mistyped path should not silently start an empty database).
    SqliteStorage(const std::string& path, bool create);
    ~SqliteStorage() override;

    const SqlDialect& Dialect() const override { return dialect_; }
    long long Execute(const std::string& sql, const std::vector<SqlValue>& params = {}) override;
    std::vector<SqlRow> Query(const std::string& sql,
                              const std::vector<SqlValue>& params = {}) override;
    void BeginWrite() override;
    void Commit() override;
    void Rollback() override;

private:
    [[noreturn]] void Fail(const std::string& what) const;

    sqlite3* db_ = nullptr;
    std::string path_;
    SqlDialect dialect_{SqlDialect::Engine::SQLite};
};

} // namespace ger
