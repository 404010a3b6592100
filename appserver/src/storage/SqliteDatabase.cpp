#include "storage/SqliteDatabase.h"

#include "storage/SqliteStorage.h"

namespace ger {
namespace {

// Reads queued together share one read transaction: SQLite takes and checks its shared-memory
// locks once for them, and one thread wakes for several calls. Four keeps the other read
// sessions busy when the queue is long.
constexpr std::size_t kReadsPerSnapshot = 4;

} // namespace

SqliteDatabase::SqliteDatabase(const std::string& path, const DatabaseOptions& options)
    : readers_(
          options.readers,
          [&] {
              return std::make_unique<SqliteStorage>(path, false, SqliteStorage::Mode::ReadOnly);
          },
          kReadsPerSnapshot),
      writer_(std::make_unique<SqliteStorage>(path, false)) {}

} // namespace ger
