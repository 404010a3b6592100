#include "rdm/RowValidator.h"

#include "guard/Utf8Text.h"
#include "rpc/RpcError.h"

#include <algorithm>
#include <cmath>

namespace ger {
namespace {

[[noreturn]] void Refuse(const std::string& message) {
    throw RpcError(RpcError::Refused, message);
}

std::string WholeText(double number) {
    return std::to_string(static_cast<long long>(number));
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

std::string CodeList(const std::vector<std::string>& codes) {
    std::string list;
    for (const auto& code : codes)
        list += (list.empty() ? "" : ", ") + code;
    return list;
}

} // namespace

void RowValidator::CheckType(const FieldDef& field, const nlohmann::json& value) const {
    if (value.is_null()) return;
    if (field.type == FieldType::String) {
        if (!value.is_string()) Refuse("O campo " + field.name + " deve receber um texto.");
        if (!Utf8Text::IsAcceptable(value.get_ref<const std::string&>()))
            Refuse("O campo " + field.name +
                   " contém caracteres inválidos (texto fora do UTF-8 ou caractere nulo).");
    } else {
        if (!value.is_number()) Refuse("O campo " + field.name + " deve receber um número.");
        if (!std::isfinite(value.get<double>()))
            Refuse("O campo " + field.name + " deve receber um número finito.");
    }
}

void RowValidator::CheckContent(const FieldDef& field, const nlohmann::json& value) const {
    if (field.type == FieldType::Float && value.is_number()) {
        const double number = value.get<double>();
        if (std::floor(number) != number)
            Refuse("O campo " + field.name + " deve receber um número inteiro.");
        if (number < field.minimum || number > field.maximum)
            Refuse("O campo " + field.name + " deve receber um número entre " +
                   WholeText(field.minimum) + " e " + WholeText(field.maximum) + ".");
        return;
    }
    if (field.type != FieldType::String || !value.is_string()) return;
    const std::string& text = value.get_ref<const std::string&>();
    std::size_t length = Utf8Text::Characters(text);
    if (length > static_cast<std::size_t>(field.size))
        Refuse("O campo " + field.name + " aceita no máximo " + std::to_string(field.size) +
               " caracteres; foram enviados " + std::to_string(length) + ".");
    if (!field.codes.empty() &&
        std::find(field.codes.begin(), field.codes.end(), text) == field.codes.end())
        Refuse("Valor \"" + text + "\" inválido para o campo " + field.name +
               " (aceitos: " + CodeList(field.codes) + ").");
}

void RowValidator::CheckTypes(const std::vector<nlohmann::json>& row) const {
    for (std::size_t i = 0; i < table_.fields.size(); ++i)
        CheckType(table_.fields[i], row[i]);
}

void RowValidator::CheckNewRow(const std::vector<nlohmann::json>& row,
                               const std::vector<nlohmann::json>* oldRow) const {
    for (std::size_t i = 0; i < table_.fields.size(); ++i) {
        const FieldDef& field = table_.fields[i];
        const nlohmann::json& value = row[i];
        CheckType(field, value);
        if (field.required && (value.is_null() || IsBlank(value.get<std::string>())))
            Refuse("O código da forma de pagamento (campo " + field.name + ") deve ser informado.");
        bool unchanged = oldRow && (*oldRow)[i] == value;
        if (!unchanged) CheckContent(field, value);
    }
}

void RowValidator::CheckChange(const DeltaChange& change) const {
    if (change.op != DeltaOp::Insert) CheckTypes(change.oldRow);
    if (change.op != DeltaOp::Delete)
        CheckNewRow(change.newRow, change.op == DeltaOp::Update ? &change.oldRow : nullptr);
}

} // namespace ger
