#pragma once
#include "rdm/TableDef.h"
#include "storage/SqlValue.h"

#include <string>
#include <vector>

namespace ger {

/// Writes the data packet a Get method returns, as JSON text: the field descriptions and the
/// rows, each a list of values in field order, null for null.
class DataPacket {
public:
    /// Packet of fields filled from rows whose columns are in the same order. A stored value of
    /// the wrong kind (text in a number column of a legacy table) is converted where it can be
    /// and sent as null where it cannot.
    static std::string Build(const std::vector<FieldDef>& fields, const std::vector<SqlRow>& rows);
};

} // namespace ger
