#pragma once
#include "storage/SqlDialect.h"
#include "storage/SqlValue.h"

#include <string>
#include <vector>

namespace ger {

/// One session with the database: parameterised statements ("?" placeholders) and write
/// transactions. Every backend implements it; what differs in the SQL text is asked of
/// Dialect(). A session is used by one thread at a time and keeps its statements prepared for
/// reuse; it caches no rows. Failures throw StorageError.
class Storage {
public:
    Storage() = default;
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;
    virtual ~Storage() = default;

    virtual const SqlDialect& Dialect() const = 0;
    /// Runs a statement that returns no rows; returns the number of rows it changed.
    virtual long long Execute(const std::string& sql, const std::vector<SqlValue>& params = {}) = 0;
    /// Runs a query and returns all its rows.
    virtual std::vector<SqlRow> Query(const std::string& sql,
                                      const std::vector<SqlValue>& params = {}) = 0;
    /// Starts a write transaction (see Transaction, which pairs it with its end).
    virtual void BeginWrite() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    /// True while a transaction is open; false also after the engine ended one on its own
    /// after a failure.
    virtual bool InTransaction() const = 0;
    /// True when the last failure was a conflict with a concurrent transaction that running
    /// the whole transaction again may resolve.
    virtual bool RetryableFailure() const { return false; }
};

} // namespace ger
