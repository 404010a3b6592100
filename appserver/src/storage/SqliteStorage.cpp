#include "storage/SqliteStorage.h"

#include "storage/StorageError.h"

#include <spdlog/spdlog.h>
#include <sqlite3.h>

namespace ger {
namespace {

// How long a session waits for another program's write lock before it reports the database
// busy. Only database threads wait: the network goes on serving.
constexpr int kBusyTimeoutMs = 5000;
// Statements a session keeps prepared; the server uses a few dozen, callers with ad-hoc SQL
// (tests, tools) must not make the cache grow for ever.
constexpr std::size_t kMaxStatements = 128;

SqlValue Column(sqlite3_stmt* stmt, int index) {
    switch (sqlite3_column_type(stmt, index)) {
    case SQLITE_NULL:
        return std::monostate{};
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(stmt, index));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, index);
    default: {
        auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        return std::string(text ? text : "",
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
    }
    }
}

/// Resets a statement when the call that stepped it ends, however it ends.
struct ResetOnExit {
    sqlite3_stmt* stmt;
    ~ResetOnExit() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

} // namespace

void SqliteStorage::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteStorage::SqliteStorage(const std::string& path, bool create, Mode mode) : path_(path) {
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
        // The write-ahead log lets readers run beside the one writer. FULL (not WAL mode's
        // usual NORMAL) syncs the log at every commit, so a change the server has answered as
        // stored survives a power loss too; group commit keeps that to one sync per group.
        Query("PRAGMA journal_mode = WAL");
        Execute("PRAGMA synchronous = FULL");
        if (mode == Mode::ReadOnly) Execute("PRAGMA query_only = ON");
    } catch (...) {
        statements_.clear();
        sqlite3_close(db_);
        throw;
    }
}

SqliteStorage::~SqliteStorage() {
    statements_.clear();
    sqlite3_close(db_);
}

void SqliteStorage::Fail(const std::string& what) const {
    int code = sqlite3_errcode(db_) & 0xff;
    std::string reason = sqlite3_errmsg(db_);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        throw StorageError("O banco de dados está ocupado por outro usuário; tente novamente.");
    // The statement is for whoever runs the server, not for the user at the screen.
    spdlog::error("database error: {} ({})", reason, what);
    throw StorageError("Erro no banco de dados do servidor de aplicação: " + reason + ".");
}

sqlite3_stmt* SqliteStorage::Prepare(const std::string& sql, const std::vector<SqlValue>& params) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                               SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK)
            Fail(sql);
        if (statements_.size() >= kMaxStatements) statements_.clear();
        found = statements_.emplace(sql, StatementPtr(raw)).first;
    }
    sqlite3_stmt* stmt = found->second.get();
    for (int i = 0; i < static_cast<int>(params.size()); ++i) {
        const SqlValue& value = params[static_cast<std::size_t>(i)];
        int rc = SQLITE_OK;
        if (auto* text = std::get_if<std::string>(&value))
            rc = sqlite3_bind_text(stmt, i + 1, text->data(), static_cast<int>(text->size()),
                                   SQLITE_TRANSIENT);
        else if (auto* number = std::get_if<double>(&value))
            rc = sqlite3_bind_double(stmt, i + 1, *number);
        else if (auto* integer = std::get_if<std::int64_t>(&value))
            rc = sqlite3_bind_int64(stmt, i + 1, *integer);
        else
            rc = sqlite3_bind_null(stmt, i + 1);
        if (rc != SQLITE_OK) {
            sqlite3_clear_bindings(stmt);
            Fail(sql);
        }
    }
    return stmt;
}

long long SqliteStorage::Execute(const std::string& sql, const std::vector<SqlValue>& params) {
    sqlite3_stmt* stmt = Prepare(sql, params);
    ResetOnExit reset{stmt};
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Fail(sql);
    return sqlite3_changes64(db_);
}

std::vector<SqlRow> SqliteStorage::Query(const std::string& sql,
                                         const std::vector<SqlValue>& params) {
    sqlite3_stmt* stmt = Prepare(sql, params);
    ResetOnExit reset{stmt};
    std::vector<SqlRow> rows;
    int columns = sqlite3_column_count(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        SqlRow row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(Column(stmt, i));
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
    if (InTransaction()) Execute("ROLLBACK");
}

bool SqliteStorage::InTransaction() const {
    return !sqlite3_get_autocommit(db_);
}

} // namespace ger
