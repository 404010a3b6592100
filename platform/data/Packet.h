#pragma once
#include "core/Value.h"
#include "data/Field.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace plat {

/// A field description as a packet carries it.
struct PacketField {
    std::string name;
    TFieldType type = TFieldType::String;
    int size = 0;
};

/// A data packet, checked and decoded.
struct DataPacket {
    std::vector<PacketField> fields;
    std::vector<std::vector<Value>> rows;
};

/// Decodes a data packet; throws EDatabaseError saying what is wrong with it.
DataPacket ParseDataPacket(const nlohmann::json& packet);

/// The packet form of a field description and of a value.
nlohmann::json FieldToJson(const TField& field);
nlohmann::json ValueToJson(const Value& value);

} // namespace plat
