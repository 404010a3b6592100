#include "shared/DatabaseConnection.h"

#include "core/Abort.h"
#include "shared/SqliteConnection.h"

namespace plat {

std::unique_ptr<TDatabaseConnection> TDatabaseConnection::Open(const std::string& url) {
    // One branch per engine; a PostgreSQL connection joins here with its own subclass.
    if (url.starts_with("sqlite:")) return std::make_unique<TSqliteConnection>(url);
    throw EDatabaseError("Banco de dados não suportado: '" + url + "' (use sqlite:CAMINHO).");
}

} // namespace plat
