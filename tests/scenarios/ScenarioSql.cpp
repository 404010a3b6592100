// scenario-sql sqlite:PATH|postgresql://... "SQL; ...": runs SQL straight against the
// scenario's database, behind the screen's back; a query's rows print as "a|b|c", NULL as
// nothing, alike on both engines (PostgreSQL's insertion column NRSEQ left out, a
// floating-point number printed as SQLite prints it, "1.0").
#include <cstdio>
#include <cstring>
#include <iostream>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <string>

namespace {

int PrintRow(void*, int columns, char** values, char**) {
    for (int i = 0; i < columns; ++i)
        std::cout << (i ? "|" : "") << (values[i] ? values[i] : "");
    std::cout << '\n';
    return 0;
}

int RunSqlite(std::string path, const char* sql) {
    if (path.rfind("sqlite:", 0) == 0) path = path.substr(7);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::cerr << "scenario-sql: cannot open " << path << ": " << sqlite3_errmsg(db) << '\n';
        sqlite3_close(db);
        return 1;
    }
    // The application server writes to the same file; wait for its transactions.
    sqlite3_busy_timeout(db, 5000);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql, PrintRow, nullptr, &error);
    if (result != SQLITE_OK) std::cerr << "scenario-sql: " << (error ? error : "error") << '\n';
    sqlite3_free(error);
    sqlite3_close(db);
    return result == SQLITE_OK ? 0 : 1;
}

/// A double as SQLite's shell prints it: up to 15 significant digits, ".0" when whole.
std::string SqliteReal(const char* text) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", std::strtod(text, nullptr));
    std::string printed = buffer;
    if (printed.find_first_of(".eEn") == std::string::npos) printed += ".0";
    return printed;
}

int RunPostgres(const std::string& url, const char* sql) {
    constexpr Oid kFloat4 = 700, kFloat8 = 701;
    PGconn* conn = PQconnectdb(url.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::cerr << "scenario-sql: cannot connect: " << PQerrorMessage(conn);
        PQfinish(conn);
        return 1;
    }
    // Notices ("drop cascades to ...") are no part of a session's transcript.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    PGresult* result = PQexec(conn, sql);
    const auto status = PQresultStatus(result);
    int failed = 0;
    if (status == PGRES_TUPLES_OK) {
        for (int row = 0; row < PQntuples(result); ++row) {
            bool first = true;
            for (int column = 0; column < PQnfields(result); ++column) {
                if (std::strcmp(PQfname(result, column), "nrseq") == 0) continue;
                std::cout << (first ? "" : "|");
                first = false;
                if (PQgetisnull(result, row, column)) continue;
                const Oid type = PQftype(result, column);
                const char* value = PQgetvalue(result, row, column);
                std::cout << (type == kFloat4 || type == kFloat8 ? SqliteReal(value) : value);
            }
            std::cout << '\n';
        }
    } else if (status != PGRES_COMMAND_OK) {
        std::cerr << "scenario-sql: " << PQresultErrorMessage(result);
        failed = 1;
    }
    PQclear(result);
    PQfinish(conn);
    return failed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: scenario-sql sqlite:PATH|postgresql://URL SQL\n";
        return 2;
    }
    const std::string database = argv[1];
    if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0)
        return RunPostgres(database, argv[2]);
    return RunSqlite(database, argv[2]);
}
