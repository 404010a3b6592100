#pragma once
#include "storage/Storage.h"

namespace ger {

/// The server's tables: created on request, checked before the server starts.
class Schema {
public:
    /// Creates FORMPGTO, DIAPGTO and the index on DIAPGTO's term code where missing. The
    /// tables carry no checks on their values: data taken over from older systems may hold
    /// values outside the code tables and must still be readable.
    static void Create(Storage& storage);
    /// Throws StorageError naming what is missing when the tables are not there.
    static void Require(Storage& storage);
};

} // namespace ger
