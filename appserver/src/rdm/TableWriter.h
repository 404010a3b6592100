#pragma once
#include "rdm/TableDef.h"
#include "storage/Storage.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

namespace ger {

/// Writes whole rows of one table. Rows to change are found by every value the client read,
/// so a row someone else changed in the meantime is not found; the engine's hidden row id
/// then singles out one row, also among rows equal in every column.
class TableWriter {
public:
    TableWriter(Storage& storage, const TableDef& table);

    void Insert(const std::vector<nlohmann::json>& row);
    /// Id of one stored row equal to oldRow in every column (nulls equal to nulls), if any;
    /// the row is locked until the transaction ends, so nobody changes it in between.
    std::optional<SqlValue> FindRowId(const std::vector<nlohmann::json>& oldRow);
    void Update(const SqlValue& rowId, const std::vector<nlohmann::json>& row);
    void Delete(const SqlValue& rowId);

    /// The row's values as SQL parameters (numbers of float fields as doubles).
    static std::vector<SqlValue> ToSql(const std::vector<nlohmann::json>& row);

private:
    Storage& storage_;
    const TableDef& table_;
};

} // namespace ger
