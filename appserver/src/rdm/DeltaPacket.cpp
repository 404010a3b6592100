#include "rdm/DeltaPacket.h"

#include "guard/Utf8Text.h"
#include "rpc/RpcError.h"

namespace ger {
namespace {

[[noreturn]] void Malformed(const std::string& what) {
    throw RpcError(RpcError::InvalidParams, "Pacote de alterações inválido: " + what);
}

/// A field's type and width, where the packet gives them, must be the table's: a client that
/// describes a column otherwise holds values the column cannot take.
void CheckDescription(const nlohmann::json& field, const FieldDef& column) {
    const char* type = column.type == FieldType::Float ? "float" : "string";
    if (field.contains("type") && field["type"] != type)
        Malformed("o campo " + column.name + " é do tipo " + type + ".");
    if (column.type == FieldType::String && field.contains("size") && field["size"] != column.size)
        Malformed("o campo " + column.name + " tem largura " + std::to_string(column.size) + ".");
}

/// For each column of the packet, its position in the table.
std::vector<std::size_t> MapFields(const nlohmann::json& fields, const TableDef& table) {
    if (!fields.is_array()) Malformed("falta a lista \"fields\".");
    std::vector<std::size_t> positions;
    std::vector<bool> seen(table.fields.size(), false);
    for (const auto& field : fields) {
        if (!field.is_object() || !field.contains("name") || !field["name"].is_string())
            Malformed("cada campo de \"fields\" deve ter um \"name\" de texto.");
        const std::string name = field["name"].get<std::string>();
        int index = table.IndexOf(name);
        if (index < 0)
            Malformed("o campo " + Utf8Text::Excerpt(name) + " não existe na tabela " + table.name +
                      ".");
        CheckDescription(field, table.fields[static_cast<std::size_t>(index)]);
        if (seen[static_cast<std::size_t>(index)])
            Malformed("o campo " + name + " aparece mais de uma vez.");
        seen[static_cast<std::size_t>(index)] = true;
        positions.push_back(static_cast<std::size_t>(index));
    }
    for (std::size_t i = 0; i < seen.size(); ++i)
        if (!seen[i]) Malformed("falta o campo " + table.fields[i].name + ".");
    return positions;
}

std::vector<nlohmann::json> ReadRow(const nlohmann::json& change, const char* member,
                                    const std::vector<std::size_t>& positions,
                                    std::size_t changeNumber) {
    const std::string where = "a alteração " + std::to_string(changeNumber);
    if (!change.contains(member) || !change[member].is_array())
        Malformed(where + " não traz a lista \"" + member + "\".");
    const nlohmann::json& values = change[member];
    if (values.size() != positions.size())
        Malformed(where + " traz " + std::to_string(values.size()) + " valores em \"" + member +
                  "\" para " + std::to_string(positions.size()) + " campos.");
    std::vector<nlohmann::json> row(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        row[positions[i]] = values[i];
    return row;
}

} // namespace

DeltaPacket DeltaPacket::Parse(const nlohmann::json& packet, const TableDef& table) {
    if (!packet.is_object()) Malformed("esperado um objeto com \"fields\" e \"changes\".");
    auto positions =
        MapFields(packet.contains("fields") ? packet["fields"] : nlohmann::json(), table);
    if (!packet.contains("changes") || !packet["changes"].is_array())
        Malformed("falta a lista \"changes\".");

    DeltaPacket delta;
    std::size_t number = 0;
    for (const auto& item : packet["changes"]) {
        ++number;
        if (!item.is_object() || !item.contains("op") || !item["op"].is_string())
            Malformed("a alteração " + std::to_string(number) + " não diz sua operação (\"op\").");
        const std::string op = item["op"].get<std::string>();
        DeltaChange change;
        if (op == "insert") {
            change.op = DeltaOp::Insert;
            change.newRow = ReadRow(item, "new", positions, number);
        } else if (op == "update") {
            change.op = DeltaOp::Update;
            change.oldRow = ReadRow(item, "old", positions, number);
            change.newRow = ReadRow(item, "new", positions, number);
        } else if (op == "delete") {
            change.op = DeltaOp::Delete;
            change.oldRow = ReadRow(item, "old", positions, number);
        } else {
            Malformed("operação desconhecida \"" + Utf8Text::Excerpt(op) + "\" na alteração " +
                      std::to_string(number) + " (use insert, update ou delete).");
        }
        delta.changes.push_back(std::move(change));
    }
    return delta;
}

} // namespace ger
