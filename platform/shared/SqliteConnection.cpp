#include "shared/SqliteConnection.h"

#include "core/Abort.h"

#include <sqlite3.h>

namespace plat {

namespace {

// How long a read waits for the application server to finish a write before it gives up.
constexpr int kBusyTimeoutMs = 5000;

std::string PathOf(const std::string& url) {
    std::string path = url.substr(std::string("sqlite:").size());
    if (path.starts_with("//")) path.erase(0, 2);
    return path;
}

// Finalizes the statement however the read ends.
struct StatementGuard {
    sqlite3_stmt* statement = nullptr;
    ~StatementGuard() { sqlite3_finalize(statement); }
};

} // namespace

TSqliteConnection::TSqliteConnection(std::string url) : url_(std::move(url)), path_(PathOf(url_)) {
    if (path_.empty()) throw EDatabaseError("URL de banco de dados sem caminho: '" + url_ + "'.");
    // Read-write without create: a missing file is an error, not a new empty database, and
    // the reader can still map the write-ahead-log index the server keeps beside the file.
    const int opened = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    std::string failure;
    if (opened != SQLITE_OK) {
        failure = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
    } else {
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // The host only reads; the data belongs to the application server. Reading the
        // schema also tells a file that is no database at once.
        char* error = nullptr;
        if (sqlite3_exec(db_, "PRAGMA query_only = ON; SELECT count(*) FROM sqlite_master;",
                         nullptr, nullptr, &error) != SQLITE_OK) {
            failure = error ? error : sqlite3_errmsg(db_);
            sqlite3_free(error);
        }
    }
    if (!failure.empty()) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError("Não foi possível abrir o banco de dados '" + path_ + "': " + failure +
                             ".");
    }
}

TSqliteConnection::~TSqliteConnection() {
    sqlite3_close(db_);
}

TQueryResult TSqliteConnection::Execute(const TParsedSql& sql, const std::vector<TDbText>& args) {
    if (args.size() != sql.names.size())
        throw EDatabaseError("A consulta espera " + std::to_string(sql.names.size()) +
                             " parâmetros e recebeu " + std::to_string(args.size()) + ".");
    std::string text;
    for (std::size_t i = 0; i < sql.fragments.size(); ++i) {
        if (i > 0) text += "?" + std::to_string(i); // numbered, bound by position below
        text += sql.fragments[i];
    }
    const auto failed = [&](const std::string& what) {
        return EDatabaseError("Erro na consulta ao banco de dados: " + what + ".");
    };

    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &guard.statement,
                           &tail) != SQLITE_OK)
        throw failed(sqlite3_errmsg(db_));
    if (!guard.statement) throw failed("texto vazio");
    if (tail && std::string(tail).find_first_not_of(" \t\r\n;") != std::string::npos)
        throw failed("mais de um comando no texto");

    for (std::size_t i = 0; i < args.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        const int bound =
            args[i] ? sqlite3_bind_text(guard.statement, position, args[i]->data(),
                                        static_cast<int>(args[i]->size()), SQLITE_TRANSIENT)
                    : sqlite3_bind_null(guard.statement, position);
        if (bound != SQLITE_OK) throw failed(sqlite3_errmsg(db_));
    }

    TQueryResult result;
    const int columns = sqlite3_column_count(guard.statement);
    for (int c = 0; c < columns; ++c)
        result.columns.emplace_back(sqlite3_column_name(guard.statement, c));
    int step;
    while ((step = sqlite3_step(guard.statement)) == SQLITE_ROW) {
        std::vector<TDbText> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(guard.statement, c) == SQLITE_NULL) {
                row.emplace_back(std::nullopt);
                continue;
            }
            const auto* bytes = sqlite3_column_text(guard.statement, c);
            const int size = sqlite3_column_bytes(guard.statement, c);
            row.emplace_back(
                std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size)));
        }
        result.rows.push_back(std::move(row));
    }
    if (step != SQLITE_DONE) throw failed(sqlite3_errmsg(db_));
    return result;
}

} // namespace plat
