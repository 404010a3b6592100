#pragma once
#include "storage/SqlDialect.h"
#include "storage/SqlValue.h"

#include <string>
#include <vector>

namespace ger {

/// One session with the database: parameterised statements and write transactions. Every
/// backend implements it; what differs in the SQL text is asked of Dialect(). A session is
/// used by one thread at a time. Failures throw StorageError.
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
};

} // namespace ger
