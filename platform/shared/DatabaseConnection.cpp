#include "shared/DatabaseConnection.h"

#include "core/Abort.h"
#include "shared/PostgresConnection.h"
#include "shared/SqliteConnection.h"

namespace plat {

std::unique_ptr<TDatabaseConnection> TDatabaseConnection::Open(const std::string& url) {
    // One branch per engine, each with its own subclass.
    if (url.starts_with("sqlite:")) return std::make_unique<TSqliteConnection>(url);
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return std::make_unique<TPostgresConnection>(url);
    throw EDatabaseError("Banco de dados não suportado: '" + url +
                         "' (use sqlite:CAMINHO ou postgresql://USUARIO@HOST:PORTA/BANCO).");
}

} // namespace plat
