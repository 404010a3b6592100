#include "guard/RequestValidator.h"

#include "guard/Utf8Text.h"
#include "rdm/DeltaPacket.h"
#include "rdm/RdmFormPgto.h"
#include "rdm/RowValidator.h"
#include "rdm/TableDef.h"
#include "rpc/RpcError.h"

#include <array>
#include <string_view>

namespace ger {
namespace {

enum class Argument { None, Code, Delta };

struct MethodDef {
    std::string_view name;
    Argument argument;
};

constexpr std::array<MethodDef, 6> kMethods{{
    {"GetFormPgto", Argument::None},
    {"GetDiaPgto", Argument::Code},
    {"GetVerCdForm", Argument::Code},
    {"GetPeriodo", Argument::Code},
    {"SetFormPgto", Argument::Delta},
    {"SetDiaPgto", Argument::Delta},
}};

const MethodDef* FindMethod(std::string_view fullName) {
    const std::string_view prefix = RdmFormPgto::kServerName;
    if (fullName.size() <= prefix.size() + 1 || fullName.substr(0, prefix.size()) != prefix ||
        fullName[prefix.size()] != '.')
        return nullptr;
    const std::string_view name = fullName.substr(prefix.size() + 1);
    for (const auto& method : kMethods)
        if (method.name == name) return &method;
    return nullptr;
}

[[noreturn]] void BadParams(std::string_view method, const std::string& what) {
    throw RpcError(RpcError::InvalidParams,
                   "Parâmetros inválidos para " + std::string(method) + ": " + what + ".");
}

void CheckCode(std::string_view method, const std::string& code) {
    const FieldDef& field = FormPgtoTable().fields.front();
    if (!Utf8Text::IsAcceptable(code))
        BadParams(method, "o código da forma de pagamento contém caracteres inválidos");
    if (Utf8Text::Characters(code) > static_cast<std::size_t>(field.size))
        BadParams(method, "o código da forma de pagamento tem no máximo " +
                              std::to_string(field.size) + " caracteres");
}

} // namespace

std::optional<DeltaPacket> RequestValidator::Check(const std::string& method,
                                                   const nlohmann::json& params) const {
    const MethodDef* def = FindMethod(method);
    if (!def)
        throw RpcError(RpcError::MethodNotFound,
                       "Método desconhecido: " + Utf8Text::Excerpt(method, 80) + ".");
    const std::string_view name = def->name;
    if (!params.is_array()) BadParams(name, "esperada uma lista de argumentos");
    switch (def->argument) {
    case Argument::None:
        if (!params.empty()) BadParams(name, "esperado nenhum argumento");
        break;
    case Argument::Code:
        if (params.size() != 1 || !params[0].is_string())
            BadParams(name, "esperado um argumento, o código da forma de pagamento (texto)");
        CheckCode(name, params[0].get_ref<const std::string&>());
        break;
    case Argument::Delta:
        if (params.size() != 1 || !params[0].is_object())
            BadParams(name, "esperado um argumento, o pacote de alterações (objeto)");
        return CheckDelta(std::string(name), params[0]);
    }
    return std::nullopt;
}

DeltaPacket RequestValidator::CheckDelta(const std::string& method,
                                         const nlohmann::json& packet) const {
    const TableDef& table = method == "SetFormPgto" ? FormPgtoTable() : DiaPgtoTable();
    if (packet.is_object() && packet.contains("changes") && packet["changes"].is_array() &&
        packet["changes"].size() > limits_.maxChanges)
        throw RpcError(RpcError::InvalidParams, "Pacote de alterações recusado: traz " +
                                                    std::to_string(packet["changes"].size()) +
                                                    " alterações; o servidor aceita até " +
                                                    std::to_string(limits_.maxChanges) +
                                                    " por pacote.");
    DeltaPacket delta = DeltaPacket::Parse(packet, table);
    const RowValidator validator(table);
    for (const DeltaChange& change : delta.changes)
        validator.CheckChange(change);
    return delta;
}

} // namespace ger
