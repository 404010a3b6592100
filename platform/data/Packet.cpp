#include "data/Packet.h"

#include "core/Abort.h"

#include <cmath>

namespace plat {

namespace {

[[noreturn]] void Refuse(const std::string& why) {
    throw EDatabaseError("Pacote de dados inválido: " + why + ".");
}

PacketField ParseField(const nlohmann::json& j, std::size_t index) {
    const std::string where = "campo " + std::to_string(index + 1);
    if (!j.is_object()) Refuse(where + " não é um objeto");
    auto name = j.find("name");
    if (name == j.end() || !name->is_string() || name->get<std::string>().empty())
        Refuse(where + " sem nome");
    PacketField f;
    f.name = name->get<std::string>();
    auto type = j.find("type");
    if (type == j.end() || !type->is_string()) Refuse("campo " + f.name + " sem tipo");
    if (*type == "string") {
        f.type = TFieldType::String;
        auto size = j.find("size");
        if (size == j.end() || !size->is_number_integer() || size->get<long long>() <= 0 ||
            size->get<long long>() > 1'000'000)
            Refuse("campo " + f.name + " sem tamanho válido");
        f.size = size->get<int>();
    } else if (*type == "float") {
        f.type = TFieldType::Float;
    } else {
        Refuse("campo " + f.name + " de tipo desconhecido");
    }
    return f;
}

Value ParseValue(const nlohmann::json& j, const PacketField& f, std::size_t row) {
    if (j.is_null()) return Value{};
    const std::string where = "linha " + std::to_string(row + 1) + ", campo " + f.name;
    if (f.type == TFieldType::String) {
        if (!j.is_string()) Refuse(where + " deveria ser texto");
        return j.get<std::string>();
    }
    if (!j.is_number()) Refuse(where + " deveria ser número");
    double v = j.get<double>();
    if (!std::isfinite(v)) Refuse(where + " não é um número finito");
    return v;
}

} // namespace

DataPacket ParseDataPacket(const nlohmann::json& packet) {
    if (!packet.is_object()) Refuse("não é um objeto");
    auto fields = packet.find("fields");
    auto rows = packet.find("rows");
    if (fields == packet.end() || !fields->is_array()) Refuse("falta a lista de campos");
    if (rows == packet.end() || !rows->is_array()) Refuse("falta a lista de linhas");
    DataPacket out;
    for (std::size_t i = 0; i < fields->size(); ++i) {
        PacketField f = ParseField((*fields)[i], i);
        // Fields are found by name without regard to letter case, so "CODE" and "code" would
        // make the packet ambiguous.
        for (const auto& seen : out.fields)
            if (SameText(seen.name, f.name)) Refuse("campo " + f.name + " repetido");
        out.fields.push_back(std::move(f));
    }
    out.rows.reserve(rows->size());
    for (std::size_t r = 0; r < rows->size(); ++r) {
        const auto& row = (*rows)[r];
        if (!row.is_array() || row.size() != out.fields.size())
            Refuse("linha " + std::to_string(r + 1) + " não tem um valor por campo");
        std::vector<Value> values;
        values.reserve(row.size());
        for (std::size_t c = 0; c < row.size(); ++c)
            values.push_back(ParseValue(row[c], out.fields[c], r));
        out.rows.push_back(std::move(values));
    }
    return out;
}

nlohmann::json FieldToJson(const TField& field) {
    if (field.DataType() == TFieldType::Float)
        return {{"name", field.FieldName()}, {"type", "float"}};
    return {{"name", field.FieldName()}, {"type", "string"}, {"size", field.Size()}};
}

nlohmann::json ValueToJson(const Value& value) {
    if (auto s = std::get_if<std::string>(&value)) return *s;
    if (auto d = std::get_if<double>(&value)) return *d;
    return nullptr;
}

} // namespace plat
