#include "shared/DBGeral.h"

#include "shared/HostConfig.h"

namespace plat {

TDatabaseConnection& TdtmDBGeral::Connection() {
    const std::string url = HostConfig::DatabaseUrl();
    if (!connection_ || connection_->Url() != url) {
        // The old connection goes first: when the new one fails to open, reads must not go
        // on quietly to the database configured before.
        connection_.reset();
        connection_ = TDatabaseConnection::Open(url);
    }
    return *connection_;
}

TdtmDBGeral& dtmDBGeral() {
    static TdtmDBGeral module;
    return module;
}

} // namespace plat
