#pragma once
#include "shared/SqlParams.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plat {

/// A value read from or bound to the database: text, or nothing for NULL.
using TDbText = std::optional<std::string>;

/// Every row a statement returned, each value as text.
struct TQueryResult {
    std::vector<std::string> columns;       ///< column names, in select order
    std::vector<std::vector<TDbText>> rows; ///< one value per column
};

/// A connection to the database the host reads directly. Each database engine is one
/// subclass; everything specific to an engine stays in it.
class TDatabaseConnection {
public:
    /// Opens the database the URL names ("sqlite:PATH" or "postgresql://USER@HOST:PORT/DB");
    /// throws EDatabaseError saying why it cannot, or that the URL names no supported engine.
    static std::unique_ptr<TDatabaseConnection> Open(const std::string& url);

    TDatabaseConnection() = default;
    TDatabaseConnection(const TDatabaseConnection&) = delete;
    TDatabaseConnection& operator=(const TDatabaseConnection&) = delete;
    virtual ~TDatabaseConnection() = default;

    /// The URL the connection was opened from.
    virtual const std::string& Url() const = 0;
    /// Runs one statement with args bound to its parameters in order (parameter i gets
    /// args[i]) and returns all its rows; throws EDatabaseError when it fails.
    virtual TQueryResult Execute(const TParsedSql& sql, const std::vector<TDbText>& args) = 0;
};

} // namespace plat
