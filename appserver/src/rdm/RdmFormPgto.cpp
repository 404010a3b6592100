#include "rdm/RdmFormPgto.h"

#include "rdm/DataPacket.h"
#include "rdm/DeltaPacket.h"
#include "rdm/DiaPgtoDelta.h"
#include "rdm/FormPgtoDelta.h"
#include "rdm/TableDef.h"
#include "rpc/RpcError.h"

namespace ger {
namespace {

enum class Argument { None, Code };

[[noreturn]] void BadParams(const std::string& method, const std::string& expected) {
    throw RpcError(RpcError::InvalidParams,
                   "Parâmetros inválidos para " + method + ": esperado " + expected + ".");
}

/// Checks the positional arguments of method against what it takes.
void CheckParams(const std::string& method, const nlohmann::json& params, Argument argument) {
    switch (argument) {
    case Argument::None:
        if (!params.empty()) BadParams(method, "nenhum argumento");
        break;
    case Argument::Code:
        if (params.size() != 1 || !params[0].is_string())
            BadParams(method, "um argumento, o código da forma de pagamento (texto)");
        break;
    }
}

} // namespace

bool RdmFormPgto::Writes(const std::string& method) {
    return method == "SetFormPgto" || method == "SetDiaPgto";
}

std::string RdmFormPgto::Call(const std::string& method, const nlohmann::json& params) {
    if (method == "GetFormPgto") {
        CheckParams(method, params, Argument::None);
        return GetFormPgto();
    }
    if (method == "GetDiaPgto" || method == "GetVerCdForm" || method == "GetPeriodo") {
        CheckParams(method, params, Argument::Code);
        const std::string& code = params[0].get_ref<const std::string&>();
        if (method == "GetDiaPgto") return GetDiaPgto(code);
        if (method == "GetVerCdForm") return GetVerCdForm(code);
        return GetPeriodo(code);
    }
    throw RpcError(RpcError::MethodNotFound,
                   "Método desconhecido: " + std::string(kServerName) + "." + method + ".");
}

std::string RdmFormPgto::GetFormPgto() {
    const TableDef& table = FormPgtoTable();
    return DataPacket::Build(table.fields, storage_.Query("SELECT " + table.ColumnList() +
                                                          " FROM FORMPGTO ORDER BY CDFORMPGTO"));
}

std::string RdmFormPgto::GetDiaPgto(const std::string& code) {
    const TableDef& table = DiaPgtoTable();
    // A term not yet stored (the screen's new row) has no code and no days.
    if (code.empty()) return DataPacket::Build(table.fields, {});
    const SqlDialect& dialect = storage_.Dialect();
    // Rows of one period start in the order they were entered.
    return DataPacket::Build(
        table.fields,
        storage_.Query(dialect.Bind("SELECT " + table.ColumnList() +
                                    " FROM DIAPGTO WHERE CDFORMPGTO = ? ORDER BY NRDIAINIPGTO "
                                    "NULLS FIRST, " +
                                    dialect.RowId()),
                       {code}));
}

std::string RdmFormPgto::GetVerCdForm(const std::string& code) {
    return DataPacket::Build(
        FormPgtoTable().Select({"CDFORMPGTO"}),
        storage_.Query(
            storage_.Dialect().Bind("SELECT CDFORMPGTO FROM FORMPGTO WHERE CDFORMPGTO = ?"),
            {code}));
}

std::string RdmFormPgto::GetPeriodo(const std::string& code) {
    const SqlDialect& dialect = storage_.Dialect();
    return DataPacket::Build(
        DiaPgtoTable().Select({"NRDIAINIPGTO", "NRDIAFINPGTO"}),
        storage_.Query(dialect.Bind("SELECT NRDIAINIPGTO, NRDIAFINPGTO FROM DIAPGTO WHERE "
                                    "CDFORMPGTO = ? ORDER BY NRDIAINIPGTO NULLS FIRST, " +
                                    dialect.RowId()),
                       {code}));
}

std::string RdmFormPgto::Apply(const std::string& method, const DeltaPacket& delta) {
    if (method == "SetFormPgto")
        SetFormPgto(delta);
    else if (method == "SetDiaPgto")
        SetDiaPgto(delta);
    else
        throw RpcError(RpcError::MethodNotFound,
                       "Método desconhecido: " + std::string(kServerName) + "." + method + ".");
    return "null";
}

void RdmFormPgto::SetFormPgto(const DeltaPacket& delta) {
    FormPgtoDelta(storage_).Apply(delta);
}

void RdmFormPgto::SetDiaPgto(const DeltaPacket& delta) {
    DiaPgtoDelta(storage_).Apply(delta);
}

} // namespace ger
