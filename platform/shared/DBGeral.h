#pragma once
// The host's data module dtmDBGeral: the shared database connection and the query component.
#include "shared/ADOIBQuery.h"
#include "shared/DatabaseConnection.h"

#include <memory>

namespace plat {

/// Holds the host's database connection, opened on first use from the configured URL.
class TdtmDBGeral {
public:
    TdtmDBGeral() = default;
    TdtmDBGeral(const TdtmDBGeral&) = delete;
    TdtmDBGeral& operator=(const TdtmDBGeral&) = delete;

    /// The open connection to the configured database; opened on first use, and opened again
    /// when the configured URL changed since. Throws EDatabaseError when it cannot be opened.
    TDatabaseConnection& Connection();
    /// True while a connection is open.
    bool Connected() const { return connection_ != nullptr; }
    /// Closes the connection; the next use opens it again.
    void Close() { connection_.reset(); }

private:
    std::unique_ptr<TDatabaseConnection> connection_;
};

/// The process's data module, shared by the host and every loaded module.
TdtmDBGeral& dtmDBGeral();

} // namespace plat
