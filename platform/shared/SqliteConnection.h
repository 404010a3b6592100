#pragma once
#include "shared/DatabaseConnection.h"

struct sqlite3;

namespace plat {

/// A SQLite database file, read by the host while the application server writes it.
class TSqliteConnection : public TDatabaseConnection {
public:
    /// Opens the existing database file of url ("sqlite:PATH" or "sqlite://PATH");
    /// throws EDatabaseError when it is missing or no database.
    explicit TSqliteConnection(std::string url);
    ~TSqliteConnection() override;

    const std::string& Url() const override { return url_; }
    TQueryResult Execute(const TParsedSql& sql, const std::vector<TDbText>& args) override;

private:
    std::string url_;
    std::string path_;
    sqlite3* db_ = nullptr;
};

} // namespace plat
