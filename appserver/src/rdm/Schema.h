#pragma once
#include "storage/Storage.h"

namespace ger {

/// The server's tables and their numbered version, kept in table VERSAOBANCO: created or
/// brought up to date on request, checked before the server starts.
class Schema {
public:
    /// The version this server works with.
    static constexpr int kVersion = 1;

    /// Creates the tables, or upgrades them step by step from the version stored, in one
    /// transaction. The tables carry no checks on their values: data taken over from older
    /// systems may hold values outside the code tables and must still be readable. Throws
    /// StorageError for a database newer than this server.
    static void Create(Storage& storage);
    /// Throws StorageError naming what is missing or outdated unless the database is at
    /// kVersion.
    static void Require(Storage& storage);
};

} // namespace ger
