#include "rdm/Schema.h"

#include "rdm/TableDef.h"
#include "storage/StorageError.h"
#include "storage/Transaction.h"

#include <functional>
#include <vector>

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
    if (!dialect.RowIdColumnDefinition().empty()) sql += ", " + dialect.RowIdColumnDefinition();
    return sql + ")";
}

/// Version 1: the two tables, the index that finds a term's days, and the insertion-order
/// column where the engine has none (added also to tables an older system created).
void CreateTables(Storage& storage) {
    const SqlDialect& dialect = storage.Dialect();
    storage.Execute(CreateTableSql(FormPgtoTable(), dialect, "PRIMARY KEY"));
    storage.Execute(CreateTableSql(DiaPgtoTable(), dialect, "NOT NULL"));
    if (!dialect.RowIdColumnDefinition().empty())
        for (const char* table : {"FORMPGTO", "DIAPGTO"})
            storage.Execute(std::string("ALTER TABLE ") + table + " ADD COLUMN IF NOT EXISTS " +
                            dialect.RowIdColumnDefinition());
    storage.Execute("CREATE INDEX IF NOT EXISTS IX_DIAPGTO_CDFORMPGTO ON DIAPGTO (CDFORMPGTO)");
}

/// Step i brings the schema from version i to version i + 1.
const std::vector<std::function<void(Storage&)>>& Steps() {
    static const std::vector<std::function<void(Storage&)>> steps{CreateTables};
    return steps;
}

bool TableExists(Storage& storage, const std::string& name) {
    return !storage.Query(storage.Dialect().Bind(storage.Dialect().TableExists()), {name}).empty();
}

/// The stored version; 0 for a database without the version table.
int StoredVersion(Storage& storage) {
    if (!TableExists(storage, "VERSAOBANCO")) return 0;
    auto rows = storage.Query("SELECT MAX(NRVERSAO) FROM VERSAOBANCO");
    if (rows.empty()) return 0;
    if (auto* version = std::get_if<std::int64_t>(&rows[0][0])) return static_cast<int>(*version);
    return 0;
}

[[noreturn]] void Newer(int version) {
    throw StorageError("O banco de dados está na versão " + std::to_string(version) +
                       ", mais nova que a deste servidor (" + std::to_string(Schema::kVersion) +
                       "); atualize o servidor de aplicação.");
}

} // namespace

void Schema::Create(Storage& storage) {
    Transaction transaction(storage);
    if (!storage.Dialect().SchemaLock().empty()) storage.Query(storage.Dialect().SchemaLock());
    storage.Execute("CREATE TABLE IF NOT EXISTS VERSAOBANCO (NRVERSAO INTEGER NOT NULL)");
    const int version = StoredVersion(storage);
    if (version > kVersion) Newer(version);
    for (int step = version; step < kVersion; ++step)
        Steps()[static_cast<std::size_t>(step)](storage);
    storage.Execute("DELETE FROM VERSAOBANCO");
    storage.Execute(storage.Dialect().Bind("INSERT INTO VERSAOBANCO (NRVERSAO) VALUES (?)"),
                    {static_cast<std::int64_t>(kVersion)});
    transaction.Commit();
}

void Schema::Require(Storage& storage) {
    const int version = StoredVersion(storage);
    if (version > kVersion) Newer(version);
    for (const TableDef* table : {&FormPgtoTable(), &DiaPgtoTable()})
        if (!TableExists(storage, table->name))
            throw StorageError("O banco de dados não tem a tabela " + table->name +
                               " (crie-a com --init-db).");
    if (version < kVersion)
        throw StorageError("O banco de dados está na versão " + std::to_string(version) +
                           " e este servidor usa a versão " + std::to_string(kVersion) +
                           " (atualize-o com --init-db).");
}

} // namespace ger
