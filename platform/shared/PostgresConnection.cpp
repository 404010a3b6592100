#include "shared/PostgresConnection.h"

#include "core/Abort.h"

#include <libpq-fe.h>
#include <memory>

namespace plat {

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

struct ResultGuard {
    PGresult* result = nullptr;
    ~ResultGuard() { PQclear(result); }
};

} // namespace

TPostgresConnection::TPostgresConnection(std::string url) : url_(std::move(url)) {
    conn_ = PQconnectdb(url_.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string reason = conn_ ? Trimmed(PQerrorMessage(conn_)) : "sem memória";
        PQfinish(conn_);
        conn_ = nullptr;
        throw EDatabaseError("Não foi possível abrir o banco de dados '" + url_ + "': " + reason +
                             ".");
    }
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

TPostgresConnection::~TPostgresConnection() {
    PQfinish(conn_);
}

TQueryResult TPostgresConnection::Execute(const TParsedSql& sql, const std::vector<TDbText>& args) {
    if (args.size() != sql.names.size())
        throw EDatabaseError("A consulta espera " + std::to_string(sql.names.size()) +
                             " parâmetros e recebeu " + std::to_string(args.size()) + ".");
    // A connection lost since the last read (the database restarted) is opened again.
    if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
    std::string text;
    for (std::size_t i = 0; i < sql.fragments.size(); ++i) {
        if (i > 0) text += "$" + std::to_string(i);
        text += sql.fragments[i];
    }
    std::vector<const char*> values;
    for (const auto& arg : args)
        values.push_back(arg ? arg->c_str() : nullptr);

    ResultGuard guard{PQexecParams(conn_, text.c_str(), static_cast<int>(values.size()), nullptr,
                                   values.data(), nullptr, nullptr, 0)};
    if (PQresultStatus(guard.result) != PGRES_TUPLES_OK &&
        PQresultStatus(guard.result) != PGRES_COMMAND_OK)
        throw EDatabaseError("Erro na consulta ao banco de dados: " +
                             Trimmed(PQresultErrorMessage(guard.result)) + ".");

    TQueryResult result;
    const int columns = PQnfields(guard.result);
    for (int c = 0; c < columns; ++c)
        result.columns.emplace_back(PQfname(guard.result, c));
    const int rows = PQntuples(guard.result);
    for (int r = 0; r < rows; ++r) {
        std::vector<TDbText> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c)
            row.push_back(PQgetisnull(guard.result, r, c)
                              ? TDbText()
                              : TDbText(std::string(
                                    PQgetvalue(guard.result, r, c),
                                    static_cast<std::size_t>(PQgetlength(guard.result, r, c)))));
        result.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace plat
