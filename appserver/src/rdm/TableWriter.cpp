#include "rdm/TableWriter.h"

namespace ger {

TableWriter::TableWriter(Storage& storage, const TableDef& table)
    : storage_(storage), table_(table) {}

std::vector<SqlValue> TableWriter::ToSql(const std::vector<nlohmann::json>& row) {
    std::vector<SqlValue> values;
    values.reserve(row.size());
    for (const auto& value : row) {
        if (value.is_string())
            values.emplace_back(value.get<std::string>());
        else if (value.is_number())
            values.emplace_back(value.get<double>());
        else
            values.emplace_back(std::monostate{});
    }
    return values;
}

void TableWriter::Insert(const std::vector<nlohmann::json>& row) {
    std::string marks;
    for (std::size_t i = 0; i < table_.fields.size(); ++i)
        marks += i ? ", ?" : "?";
    storage_.Execute(storage_.Dialect().Bind("INSERT INTO " + table_.name + " (" +
                                             table_.ColumnList() + ") VALUES (" + marks + ")"),
                     ToSql(row));
}

std::optional<SqlValue> TableWriter::FindRowId(const std::vector<nlohmann::json>& oldRow) {
    const SqlDialect& dialect = storage_.Dialect();
    std::string where;
    for (const auto& field : table_.fields)
        where += (where.empty() ? "" : " AND ") + dialect.NullSafeEqual(field.name);
    auto rows =
        storage_.Query(dialect.Bind("SELECT " + dialect.RowId() + " FROM " + table_.name +
                                    " WHERE " + where + " LIMIT 1" + dialect.LockForUpdate()),
                       ToSql(oldRow));
    if (rows.empty()) return std::nullopt;
    return rows.front().front();
}

void TableWriter::Update(const SqlValue& rowId, const std::vector<nlohmann::json>& row) {
    const SqlDialect& dialect = storage_.Dialect();
    std::string assignments;
    for (const auto& field : table_.fields)
        assignments += (assignments.empty() ? "" : ", ") + field.name + " = ?";
    auto params = ToSql(row);
    params.push_back(rowId);
    storage_.Execute(dialect.Bind("UPDATE " + table_.name + " SET " + assignments + " WHERE " +
                                  dialect.RowId() + " = ?"),
                     params);
}

void TableWriter::Delete(const SqlValue& rowId) {
    const SqlDialect& dialect = storage_.Dialect();
    storage_.Execute(
        dialect.Bind("DELETE FROM " + table_.name + " WHERE " + dialect.RowId() + " = ?"), {rowId});
}

} // namespace ger
