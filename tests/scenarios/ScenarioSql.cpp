// scenario-sql: runs SQL straight against the scenario's SQLite database, as another program
// of the company would, behind the screen's back. Rows of a query print as "a|b|c" lines,
// NULL as nothing. Usage: scenario-sql sqlite:PATH "SQL; ..."
#include <iostream>
#include <sqlite3.h>
#include <string>

namespace {

int PrintRow(void*, int columns, char** values, char**) {
    for (int i = 0; i < columns; ++i)
        std::cout << (i ? "|" : "") << (values[i] ? values[i] : "");
    std::cout << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: scenario-sql sqlite:PATH SQL\n";
        return 2;
    }
    std::string path = argv[1];
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
    const int result = sqlite3_exec(db, argv[2], PrintRow, nullptr, &error);
    if (result != SQLITE_OK) std::cerr << "scenario-sql: " << (error ? error : "error") << '\n';
    sqlite3_free(error);
    sqlite3_close(db);
    return result == SQLITE_OK ? 0 : 1;
}
