#pragma once
#include "storage/Storage.h"

#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace ger {

/// A session with an SQLite database file. The file stays an ordinary SQLite database that
/// other programs may read and write while the server runs:
/// - journal_mode=WAL, so readers never wait for the writer and the writer never waits for
///   readers;
/// - synchronous=FULL, set explicitly: every commit waits until the write-ahead log is on
///   disk, so a change the server acknowledged survives a crash or a power loss (the writer
///   groups many changes into one commit to keep that affordable);
/// - a busy timeout, so a session waits for another program's write lock instead of failing.
/// Statements are prepared once per session and reused.
class SqliteStorage final : public Storage {
public:
    enum class Mode { ReadWrite, ReadOnly };

    /// Opens the file at path; with create set a missing file is created, otherwise a missing
    /// file is an error (a mistyped path should not silently start an empty database).
    SqliteStorage(const std::string& path, bool create, Mode mode = Mode::ReadWrite);
    ~SqliteStorage() override;

    const SqlDialect& Dialect() const override { return dialect_; }
    long long Execute(const std::string& sql, const std::vector<SqlValue>& params = {}) override;
    std::vector<SqlRow> Query(const std::string& sql,
                              const std::vector<SqlValue>& params = {}) override;
    void BeginWrite() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using StatementPtr = std::unique_ptr<sqlite3_stmt, Finalizer>;

    /// The session's prepared statement for sql, bound to params and ready to step.
    sqlite3_stmt* Prepare(const std::string& sql, const std::vector<SqlValue>& params);
    [[noreturn]] void Fail(const std::string& what) const;

    sqlite3* db_ = nullptr;
    std::string path_;
    SqlDialect dialect_{SqlDialect::Engine::SQLite};
    std::unordered_map<std::string, StatementPtr> statements_;
};

} // namespace ger
