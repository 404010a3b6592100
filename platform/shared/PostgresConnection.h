#pragma once
#include "shared/DatabaseConnection.h"

struct pg_conn;

namespace plat {

/// A PostgreSQL database, read by the host beside the application servers that write it.
class TPostgresConnection : public TDatabaseConnection {
public:
    /// Connects to url (a libpq URI, "postgresql://user@host:port/dbname"); throws
    /// EDatabaseError saying why it cannot.
    explicit TPostgresConnection(std::string url);
    ~TPostgresConnection() override;

    const std::string& Url() const override { return url_; }
    TQueryResult Execute(const TParsedSql& sql, const std::vector<TDbText>& args) override;

private:
    std::string url_;
    pg_conn* conn_ = nullptr;
};

} // namespace plat
