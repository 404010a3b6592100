#include "storage/Database.h"

#include "storage/PostgresDatabase.h"
#include "storage/SqliteDatabase.h"
#include "storage/StorageFactory.h"

namespace ger {

std::unique_ptr<Database> Database::Open(const StorageFactory& factory,
                                         const DatabaseOptions& options) {
    if (factory.Engine() == SqlDialect::Engine::PostgreSQL)
        return std::make_unique<PostgresDatabase>(factory.Url(), options);
    return std::make_unique<SqliteDatabase>(factory.SqlitePath(), options);
}

} // namespace ger
