#include "storage/SqliteStorage.h"

#include "storage/StorageError.h"

#include <iostream>
#include <sqlite3.h>

namespace ger {
namespace {

constexpr int kBusyTimeoutMs = 5000;

/// A prepared statement, finalized when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
            SQLITE_OK)
            stmt_ = nullptr;
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }

    bool Prepared() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    bool Bind(const std::vector<SqlValue>& params) {
        for (int i = 0; i < static_cast<int>(params.size()); ++i) {
            const SqlValue& value = params[static_cast<std::size_t>(i)];
            int rc = SQLITE_OK;
            if (auto* text = std::get_if<std::string>(&value))
                rc = sqlite3_bind_text(stmt_, i + 1, text->data(), static_cast<int>(text->size()),
                                       SQLITE_TRANSIENT);
            else if (auto* number = std::get_if<double>(&value))
                rc = sqlite3_bind_double(stmt_, i + 1, *number);
            else if (auto* integer = std::get_if<std::int64_t>(&value))
                rc = sqlite3_bind_int64(stmt_, i + 1, *integer);
            else
                rc = sqlite3_bind_null(stmt_, i + 1);
            if (rc != SQLITE_OK) return false;
        }
        return true;
    }

    SqlValue Column(int index) const {
        switch (sqlite3_column_type(stmt_, index)) {
        case SQLITE_NULL:
            return std::monostate{};
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt_, index);
        default: {
            auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
            return std::string(text ? text : "",
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index)));
        }
        }
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

SqliteStorage::SqliteStorage(const std::string& path, bool create) : path_(path) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string reason = db_ ? sqlite3_errmsg(db_) : "sem memória";
        sqlite3_close(db_);
        db_ = nullptr;
        throw StorageError("Não foi possível abrir o banco de dados SQLite \"" + path +
                           "\": " + reason + ".");
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    try {
        Query("PRAGMA journal_mode = WAL");
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

SqliteStorage::~SqliteStorage() {
    sqlite3_close(db_);
}

void SqliteStorage::Fail(const std::string& what) const {
    int code = sqlite3_errcode(db_) & 0xff;
    std::string reason = sqlite3_errmsg(db_);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        throw StorageError("O banco de dados está ocupado por outro usuário; tente novamente.");
    // The statement is for whoever runs the server, not for the user at the screen.
    std::cerr << "appserver: database error: " << reason << " (" << what << ")\n";
    throw StorageError("Erro no banco de dados do servidor de aplicação: " + reason + ".");
}

long long SqliteStorage::Execute(const std::string& sql, const std::vector<SqlValue>& params) {
    Statement stmt(db_, sql);
    if (!stmt.Prepared() || !stmt.Bind(params)) Fail(sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Fail(sql);
    return sqlite3_changes64(db_);
}

std::vector<SqlRow> SqliteStorage::Query(const std::string& sql,
                                         const std::vector<SqlValue>& params) {
    Statement stmt(db_, sql);
    if (!stmt.Prepared() || !stmt.Bind(params)) Fail(sql);
    std::vector<SqlRow> rows;
    int columns = sqlite3_column_count(stmt.get());
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        SqlRow row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(stmt.Column(i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) Fail(sql);
    return rows;
}

void SqliteStorage::BeginWrite() {
    Execute(dialect_.BeginWrite());
}

void SqliteStorage::Commit() {
    Execute("COMMIT");
}

void SqliteStorage::Rollback() {
    // The engine may already have ended the transaction after certain errors.
    if (!sqlite3_get_autocommit(db_)) Execute("ROLLBACK");
}

} // namespace ger
