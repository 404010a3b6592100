#include "storage/StorageFactory.h"

#include "storage/PostgresStorage.h"
#include "storage/SqliteStorage.h"
#include "storage/StorageError.h"

namespace ger {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

StorageFactory::StorageFactory(std::string url) : url_(std::move(url)) {
    if (StartsWith(url_, "sqlite:")) {
        sqlitePath_ = url_.substr(7);
        if (sqlitePath_.empty())
            throw StorageError("URL de banco de dados sem caminho: \"" + url_ +
                               "\" (use sqlite:CAMINHO).");
    } else if (StartsWith(url_, "postgresql://") || StartsWith(url_, "postgres://")) {
        engine_ = SqlDialect::Engine::PostgreSQL;
    } else {
        throw StorageError("URL de banco de dados não reconhecida: \"" + url_ +
                           "\" (use sqlite:CAMINHO ou postgresql://USUARIO@HOST:PORTA/BANCO).");
    }
}

std::unique_ptr<Storage> StorageFactory::Open(bool create) const {
    if (engine_ == SqlDialect::Engine::PostgreSQL) return std::make_unique<PostgresStorage>(url_);
    return std::make_unique<SqliteStorage>(sqlitePath_, create);
}

} // namespace ger
