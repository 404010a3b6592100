#include "shared/Vandrel.h"

#include "shared/HostConfig.h"

#include <stdexcept>

namespace plat {

std::string WebURL() {
    return HostConfig::ServerHost();
}

int WebPort() {
    return HostConfig::ServerPort();
}

void AtualizaLocalCache(const nlohmann::json& tables) {
    // Checked in full before anything is recorded, so a bad list leaves no half notice.
    if (!tables.is_array())
        throw std::invalid_argument("AtualizaLocalCache: esperada uma lista de tabelas, veio " +
                                    tables.dump() + ".");
    for (const auto& table : tables)
        if (!table.is_string())
            throw std::invalid_argument("AtualizaLocalCache: nome de tabela inválido " +
                                        table.dump() + ".");
    for (const auto& table : tables)
        LocalCache().Notice(table.get<std::string>());
}

} // namespace plat
