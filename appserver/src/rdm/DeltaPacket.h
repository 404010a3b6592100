#pragma once
#include "rdm/TableDef.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace ger {

enum class DeltaOp { Insert, Update, Delete };

/// One change of a delta, its rows rearranged into the table's column order.
struct DeltaChange {
    DeltaOp op = DeltaOp::Insert;
    std::vector<nlohmann::json> oldRow; ///< update and delete: the row as the client read it
    std::vector<nlohmann::json> newRow; ///< insert and update: the row as it is to be stored
};

/// The term code of a row of either table (its first column); empty when not text.
inline std::string TermCodeOf(const std::vector<nlohmann::json>& row) {
    return !row.empty() && row[0].is_string() ? row[0].get<std::string>() : std::string();
}

/// A client's change log for one table, read from its packet:
/// {"fields":[{"name":...},...],"changes":[{"op":"insert"|"update"|"delete","old":[...],
/// "new":[...]},...]}. Rows follow the packet's own field order, which may differ from the
/// table's; every column of the table must be present.
class DeltaPacket {
public:
    /// Reads packet for table; a malformed packet throws RpcError (InvalidParams) saying what
    /// is wrong with it. Value checks are left to RowValidator.
    static DeltaPacket Parse(const nlohmann::json& packet, const TableDef& table);

    std::vector<DeltaChange> changes;
};

} // namespace ger
