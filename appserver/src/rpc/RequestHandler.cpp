#include "rpc/RequestHandler.h"

#include "rdm/RdmFormPgto.h"
#include "rpc/RpcError.h"
#include "storage/StorageError.h"

namespace ger {
namespace {

std::string Dump(const nlohmann::json& response) {
    // Texts read from legacy tables may not be valid UTF-8; never let that break a response.
    return response.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string ErrorResponse(const nlohmann::json& id, int code, const std::string& message) {
    return Dump(
        {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

RequestHandler::RequestHandler(const StorageFactory& storageFactory)
    : storageFactory_(storageFactory) {}

RequestHandler::~RequestHandler() = default;

std::string RequestHandler::LineTooLong(std::size_t limit) {
    return ErrorResponse(nullptr, RpcError::InvalidRequest,
                         "Requisição longa demais: o servidor aceita até " + std::to_string(limit) +
                             " bytes por linha.");
}

std::optional<std::string> RequestHandler::Handle(std::string_view line) {
    if (IsBlank(line)) return std::nullopt;

    nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
    if (request.is_discarded())
        return ErrorResponse(nullptr, RpcError::ParseError,
                             "Requisição malformada: o texto recebido não é JSON válido.");
    if (!request.is_object())
        return ErrorResponse(nullptr, RpcError::InvalidRequest,
                             "Requisição inválida: esperado um objeto JSON-RPC 2.0.");

    const bool notification = !request.contains("id");
    nlohmann::json id = notification ? nlohmann::json() : request["id"];
    if (!id.is_null() && !id.is_string() && !id.is_number())
        return ErrorResponse(nullptr, RpcError::InvalidRequest,
                             "Requisição inválida: \"id\" deve ser texto, número ou null.");
    if (request.value("jsonrpc", nlohmann::json()) != "2.0")
        return ErrorResponse(id, RpcError::InvalidRequest,
                             "Requisição inválida: \"jsonrpc\" deve ser \"2.0\".");
    if (!request.contains("method") || !request["method"].is_string())
        return ErrorResponse(id, RpcError::InvalidRequest,
                             "Requisição inválida: falta o nome do método (\"method\").");
    const std::string method = request["method"].get<std::string>();
    nlohmann::json params =
        request.contains("params") ? request["params"] : nlohmann::json::array();

    std::optional<std::string> response;
    try {
        if (!params.is_array())
            throw RpcError(RpcError::InvalidParams, "Parâmetros inválidos para " + method +
                                                        ": esperada uma lista de argumentos.");
        nlohmann::json result = Dispatch(method, params);
        response = Dump({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
    } catch (const RpcError& error) {
        response = ErrorResponse(id, error.code(), error.what());
    } catch (const StorageError& error) {
        response = ErrorResponse(id, RpcError::DatabaseError, error.what());
    } catch (const std::exception& error) {
        response =
            ErrorResponse(id, RpcError::InternalError,
                          std::string("Erro interno do servidor de aplicação: ") + error.what());
    }
    if (notification) return std::nullopt;
    return response;
}

nlohmann::json RequestHandler::Dispatch(const std::string& method, const nlohmann::json& params) {
    const std::string prefix = std::string(RdmFormPgto::kServerName) + ".";
    if (method.compare(0, prefix.size(), prefix) != 0)
        throw RpcError(RpcError::MethodNotFound, "Método desconhecido: " + method + ".");
    if (!module_) {
        storage_ = storageFactory_.Open();
        module_ = std::make_unique<RdmFormPgto>(*storage_);
    }
    return module_->Call(method.substr(prefix.size()), params);
}

} // namespace ger
