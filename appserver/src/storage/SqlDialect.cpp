#include "storage/SqlDialect.h"

namespace ger {

std::string SqlDialect::NullSafeEqual(const std::string& column) const {
    return engine_ == Engine::SQLite ? column + " IS ?" : column + " IS NOT DISTINCT FROM ?";
}

std::string SqlDialect::RowId() const {
    return engine_ == Engine::SQLite ? "rowid" : "ctid";
}

std::string SqlDialect::BeginWrite() const {
    return engine_ == Engine::SQLite ? "BEGIN IMMEDIATE" : "BEGIN ISOLATION LEVEL SERIALIZABLE";
}

std::string SqlDialect::TextType(int size) const {
    return (engine_ == Engine::SQLite ? "TEXT(" : "VARCHAR(") + std::to_string(size) + ")";
}

std::string SqlDialect::RealType() const {
    return engine_ == Engine::SQLite ? "REAL" : "DOUBLE PRECISION";
}

std::string SqlDialect::TableExists() const {
    return engine_ == Engine::SQLite
               ? "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"
               : "SELECT 1 FROM information_schema.tables WHERE table_name = lower(?)";
}

std::string SqlDialect::Bind(const std::string& sql) const {
    if (engine_ == Engine::SQLite) return sql;
    // PostgreSQL numbers its parameters. The server's statements hold no "?" inside literals.
    std::string bound;
    int number = 0;
    for (char c : sql) {
        if (c == '?')
            bound += "$" + std::to_string(++number);
        else
            bound += c;
    }
    return bound;
}

} // namespace ger
