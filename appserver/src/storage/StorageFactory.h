#pragma once
#include "storage/Storage.h"

#include <memory>
#include <string>

namespace ger {

/// Opens storage sessions for a database URL, choosing the backend from its scheme:
/// "sqlite:PATH" or a libpq URI "postgresql://user@host:port/dbname" ("postgres://" too).
class StorageFactory {
public:
    /// Checks the URL at once, so a mistyped one is reported before the server starts.
    explicit StorageFactory(std::string url);

    /// Opens a new session; with create set a missing SQLite file is created.
    std::unique_ptr<Storage> Open(bool create = false) const;
    const std::string& Url() const { return url_; }
    SqlDialect::Engine Engine() const { return engine_; }
    /// The database file of an SQLite URL.
    const std::string& SqlitePath() const { return sqlitePath_; }

private:
    std::string url_;
    SqlDialect::Engine engine_ = SqlDialect::Engine::SQLite;
    std::string sqlitePath_;
};

} // namespace ger
