#include "storage/SqliteDatabase.h"

#include "storage/SqliteStorage.h"

namespace ger {

SqliteDatabase::SqliteDatabase(const std::string& path, const DatabaseOptions& options)
    : readers_(options.readers,
               [&] {
                   return std::make_unique<SqliteStorage>(path, false,
                                                          SqliteStorage::Mode::ReadOnly);
               }),
      writer_(std::make_unique<SqliteStorage>(path, false)) {}

} // namespace ger
