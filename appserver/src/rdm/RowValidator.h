#pragma once
#include "rdm/DeltaPacket.h"
#include "rdm/TableDef.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace ger {

/// Checks the values of a delta's rows against a table before anything is stored. A failed
/// check throws RpcError (Refused) with a message that names the field.
class RowValidator {
public:
    explicit RowValidator(const TableDef& table) : table_(table) {}

    /// A row as the client read it (the "old" row): each value null or of the field's kind,
    /// texts of valid UTF-8 without NUL, numbers finite.
    void CheckTypes(const std::vector<nlohmann::json>& row) const;
    /// A row about to be stored: kinds as above, the term code present, widths in characters,
    /// numbers whole and in their column's range, coded values in their tables. On an update
    /// (oldRow given) a value equal to the one read passes the width, range and code checks,
    /// so a legacy value outside its table does not stop the user from editing the other
    /// fields of its row.
    void CheckNewRow(const std::vector<nlohmann::json>& row,
                     const std::vector<nlohmann::json>* oldRow) const;
    /// Checks the rows one change of a delta carries: old values for kind, new ones in full.
    void CheckChange(const DeltaChange& change) const;

private:
    void CheckType(const FieldDef& field, const nlohmann::json& value) const;
    void CheckContent(const FieldDef& field, const nlohmann::json& value) const;

    const TableDef& table_;
};

} // namespace ger
