#include "rdm/Schema.h"

#include "rdm/TableDef.h"
#include "storage/StorageError.h"
#include "storage/Transaction.h"

namespace ger {
namespace {

/// CREATE TABLE for table; keyConstraint goes on its first column (the term code).
std::string CreateTableSql(const TableDef& table, const SqlDialect& dialect,
                           const std::string& keyConstraint) {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + table.name + " (";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDef& field = table.fields[i];
        sql +=
            (i ? ", " : "") + field.name + " " +
            (field.type == FieldType::String ? dialect.TextType(field.size) : dialect.RealType());
        if (i == 0) sql += " " + keyConstraint;
    }
    return sql + ")";
}

} // namespace

void Schema::Create(Storage& storage) {
    const SqlDialect& dialect = storage.Dialect();
    Transaction transaction(storage);
    storage.Execute(CreateTableSql(FormPgtoTable(), dialect, "PRIMARY KEY"));
    storage.Execute(CreateTableSql(DiaPgtoTable(), dialect, "NOT NULL"));
    storage.Execute("CREATE INDEX IF NOT EXISTS IX_DIAPGTO_CDFORMPGTO ON DIAPGTO (CDFORMPGTO)");
    transaction.Commit();
}

void Schema::Require(Storage& storage) {
    for (const TableDef* table : {&FormPgtoTable(), &DiaPgtoTable()}) {
        if (storage.Query(storage.Dialect().Bind(storage.Dialect().TableExists()), {table->name})
                .empty())
            throw StorageError("O banco de dados não tem a tabela " + table->name +
                               " (crie-a com --init-db).");
    }
}

} // namespace ger
