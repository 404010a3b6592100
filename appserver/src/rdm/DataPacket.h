#pragma once
#include "rdm/TableDef.h"
#include "storage/SqlValue.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace ger {

/// Builds the data packet a Get method returns: the field descriptions and the rows, each a
/// list of values in field order, null for null.
class DataPacket {
public:
    /// Packet of fields filled from rows whose columns are in the same order. A stored value of
    /// the wrong kind (text in a number column of a legacy table) is converted where it can be
    /// and sent as null where it cannot.
    static nlohmann::json Build(const std::vector<FieldDef>& fields,
                                const std::vector<SqlRow>& rows);
    /// Description of one field as packets carry it.
    static nlohmann::json FieldJson(const FieldDef& field);
};

} // namespace ger
