#pragma once
#include "storage/Storage.h"

#include <string>
#include <unordered_map>

struct pg_conn;
struct pg_result;

namespace ger {

/// A session with a PostgreSQL database through libpq. Statements are prepared on the server
/// once per session and reused; a connection found broken is opened again before the next
/// statement, so a restarted database server costs the calls in progress only.
class PostgresStorage final : public Storage {
public:
    /// Connects to url (a libpq connection URI, "postgresql://user@host:port/dbname").
    explicit PostgresStorage(std::string url);
    ~PostgresStorage() override;

    const SqlDialect& Dialect() const override { return dialect_; }
    long long Execute(const std::string& sql, const std::vector<SqlValue>& params = {}) override;
    std::vector<SqlRow> Query(const std::string& sql,
                              const std::vector<SqlValue>& params = {}) override;
    void BeginWrite() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    bool RetryableFailure() const override { return retryable_; }

private:
    /// Runs sql (prepared on first use) and returns its result, which the caller frees.
    pg_result* Run(const std::string& sql, const std::vector<SqlValue>& params);
    void Connect();
    [[noreturn]] void Fail(pg_result* result, const std::string& what);

    std::string url_;
    pg_conn* conn_ = nullptr;
    SqlDialect dialect_{SqlDialect::Engine::PostgreSQL};
    std::unordered_map<std::string, std::string> prepared_; // SQL text -> statement name
    bool retryable_ = false;
    bool transaction_ = false; ///< a transaction was begun and not yet ended by us
};

} // namespace ger
