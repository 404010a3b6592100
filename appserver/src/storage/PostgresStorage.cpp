#include "storage/PostgresStorage.h"

#include "storage/StorageError.h"

#include <charconv>
#include <cstdlib>
#include <libpq-fe.h>
#include <memory>
#include <spdlog/spdlog.h>

namespace ger {
namespace {

// Type numbers of pg_type for the columns the server reads as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

constexpr std::size_t kMaxStatements = 128;

struct ResultDeleter {
    void operator()(pg_result* result) const { PQclear(result); }
};
using ResultPtr = std::unique_ptr<pg_result, ResultDeleter>;

std::string ParamText(const SqlValue& value) {
    if (auto* text = std::get_if<std::string>(&value)) return *text;
    if (auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
    char buffer[32];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value)).ptr;
    return std::string(buffer, end); // shortest text that reads back as the same double
}

SqlValue ColumnValue(pg_result* result, int row, int column) {
    if (PQgetisnull(result, row, column)) return std::monostate{};
    const char* text = PQgetvalue(result, row, column);
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return static_cast<std::int64_t>(std::strtoll(text, nullptr, 10));
    case kBool:
        return static_cast<std::int64_t>(text[0] == 't');
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return std::strtod(text, nullptr);
    default:
        return std::string(text, static_cast<std::size_t>(PQgetlength(result, row, column)));
    }
}

} // namespace

PostgresStorage::PostgresStorage(std::string url) : url_(std::move(url)) {
    Connect();
}

PostgresStorage::~PostgresStorage() {
    PQfinish(conn_);
}

void PostgresStorage::Connect() {
    PQfinish(conn_);
    prepared_.clear();
    conn_ = PQconnectdb(url_.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
        std::string reason = conn_ ? PQerrorMessage(conn_) : "sem memória";
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
            reason.pop_back();
        PQfinish(conn_);
        conn_ = nullptr;
        spdlog::error("cannot connect to PostgreSQL: {}", reason);
        throw StorageError("Não foi possível conectar ao banco de dados PostgreSQL: " + reason +
                           ".");
    }
    // Notices (such as "already exists, skipping") are no business of the server's log.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

void PostgresStorage::Fail(pg_result* result, const std::string& what) {
    ResultPtr owned(result);
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string code = state ? state : "";
    std::string reason = result ? PQresultErrorMessage(result) : PQerrorMessage(conn_);
    if (reason.empty() && conn_) reason = PQerrorMessage(conn_);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    // 40001 serialization failure, 40P01 deadlock: the transaction may simply run again. So
    // may 23505: the server checks a new key first, so a duplicate key means another writer
    // stored the same key meanwhile, and running again answers with the usual refusal.
    retryable_ = code == "40001" || code == "40P01" || code == "23505";
    if (retryable_ || code == "55P03")
        throw StorageError("O banco de dados está ocupado por outro usuário; tente novamente.");
    spdlog::error("database error: {} ({})", reason, what);
    throw StorageError("Erro no banco de dados do servidor de aplicação: " + reason + ".");
}

pg_result* PostgresStorage::Run(const std::string& sql, const std::vector<SqlValue>& params) {
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        // Lost between calls (database restarted): reconnect, unless a transaction was open,
        // whose changes are gone with the connection.
        const bool wasInTransaction = transaction_;
        transaction_ = false;
        Connect();
        if (wasInTransaction)
            throw StorageError("A conexão com o banco de dados caiu durante a gravação.");
    }
    auto found = prepared_.find(sql);
    if (found == prepared_.end()) {
        if (prepared_.size() >= kMaxStatements) {
            PQclear(PQexec(conn_, "DEALLOCATE ALL"));
            prepared_.clear();
        }
        std::string name = "s" + std::to_string(prepared_.size() + 1);
        pg_result* prepared =
            PQprepare(conn_, name.c_str(), dialect_.Bind(sql).c_str(), 0, nullptr);
        if (PQresultStatus(prepared) != PGRES_COMMAND_OK) Fail(prepared, sql);
        PQclear(prepared);
        found = prepared_.emplace(sql, std::move(name)).first;
    }
    std::vector<std::string> texts;
    std::vector<const char*> values;
    texts.reserve(params.size());
    for (const auto& param : params) {
        if (std::holds_alternative<std::monostate>(param)) {
            texts.emplace_back();
            values.push_back(nullptr);
        } else {
            texts.push_back(ParamText(param));
            values.push_back(texts.back().c_str());
        }
    }
    pg_result* result =
        PQexecPrepared(conn_, found->second.c_str(), static_cast<int>(values.size()), values.data(),
                       nullptr, nullptr, 0);
    const auto status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(result, sql);
    return result;
}

long long PostgresStorage::Execute(const std::string& sql, const std::vector<SqlValue>& params) {
    ResultPtr result(Run(sql, params));
    const char* changed = PQcmdTuples(result.get());
    return changed && *changed ? std::atoll(changed) : 0;
}

std::vector<SqlRow> PostgresStorage::Query(const std::string& sql,
                                           const std::vector<SqlValue>& params) {
    ResultPtr result(Run(sql, params));
    const int rows = PQntuples(result.get());
    const int columns = PQnfields(result.get());
    std::vector<SqlRow> table;
    table.reserve(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        SqlRow row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(ColumnValue(result.get(), r, c));
        table.push_back(std::move(row));
    }
    return table;
}

void PostgresStorage::BeginWrite() {
    retryable_ = false;
    Execute(dialect_.BeginWrite());
    transaction_ = true;
}

void PostgresStorage::Commit() {
    transaction_ = false;
    Execute("COMMIT");
}

void PostgresStorage::Rollback() {
    const bool open = InTransaction();
    transaction_ = false;
    if (open) Execute("ROLLBACK");
}

bool PostgresStorage::InTransaction() const {
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) return false;
    const auto status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

} // namespace ger
