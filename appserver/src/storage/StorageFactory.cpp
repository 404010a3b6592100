#include "storage/StorageFactory.h"

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
        throw StorageError("Banco de dados PostgreSQL ainda não é suportado por este servidor: \"" +
                           url_ + "\".");
    } else {
        throw StorageError("URL de banco de dados não reconhecida: \"" + url_ +
                           "\" (use sqlite:CAMINHO).");
    }
}

std::unique_ptr<Storage> StorageFactory::Open(bool create) const {
    return std::make_unique<SqliteStorage>(sqlitePath_, create);
}

} // namespace ger
