#include "rpc/RequestHandler.h"

#include "guard/BoundedJsonParser.h"
#include "guard/RequestValidator.h"
#include "guard/Utf8Text.h"
#include "rdm/RdmFormPgto.h"
#include "rpc/JsonText.h"
#include "rpc/RpcError.h"
#include "storage/StorageError.h"
#include "storage/Transaction.h"

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

Reply ErrorReply(const nlohmann::json& id, int code, const std::string& message) {
    return Reply{ErrorResponse(id, code, message), false, std::to_string(code)};
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

const std::string& ServerPrefix() {
    static const std::string prefix = std::string(RdmFormPgto::kServerName) + ".";
    return prefix;
}

} // namespace

std::string RequestHandler::LineTooLong(std::size_t limit) {
    return ErrorResponse(nullptr, RpcError::InvalidRequest,
                         "Requisição longa demais: o servidor aceita até " + std::to_string(limit) +
                             " bytes por linha.");
}

std::string RequestHandler::NoResources() {
    return ErrorResponse(nullptr, RpcError::InternalError,
                         "O servidor de aplicação não tem recursos para mais uma conexão agora; "
                         "tente novamente em instantes.");
}

std::variant<Request, Reply> RequestHandler::Parse(std::string_view line,
                                                   const RequestLimits& limits) {
    if (IsBlank(line)) return Reply{std::nullopt, true, "blank"};
    if (line.size() > limits.maxLineBytes)
        return Reply{LineTooLong(limits.maxLineBytes), false,
                     std::to_string(RpcError::InvalidRequest)};

    auto parsed = BoundedJsonParser(limits).Parse(line);
    switch (parsed.outcome) {
    case BoundedJsonParser::Outcome::Parsed:
        break;
    case BoundedJsonParser::Outcome::Malformed:
        return ErrorReply(nullptr, RpcError::ParseError,
                          "Requisição malformada: o texto recebido não é JSON válido.");
    case BoundedJsonParser::Outcome::TooDeep:
        return ErrorReply(nullptr, RpcError::InvalidRequest,
                          "Requisição recusada: mais de " + std::to_string(limits.maxDepth) +
                              " níveis de listas e objetos aninhados.");
    case BoundedJsonParser::Outcome::TooManyValues:
        return ErrorReply(nullptr, RpcError::InvalidRequest,
                          "Requisição recusada: mais de " + std::to_string(limits.maxValues) +
                              " valores em uma só requisição.");
    case BoundedJsonParser::Outcome::DuplicateKey:
        return ErrorReply(nullptr, RpcError::InvalidRequest,
                          "Requisição recusada: a chave \"" + Utf8Text::Excerpt(parsed.duplicate) +
                              "\" aparece duas vezes no mesmo objeto.");
    }
    nlohmann::json& envelope = parsed.value;
    if (!envelope.is_object())
        return ErrorReply(nullptr, RpcError::InvalidRequest,
                          "Requisição inválida: esperado um objeto JSON-RPC 2.0.");

    Request request;
    request.notification = !envelope.contains("id");
    if (!request.notification) request.id = std::move(envelope["id"]);
    if (!request.id.is_null() && !request.id.is_string() && !request.id.is_number())
        return ErrorReply(nullptr, RpcError::InvalidRequest,
                          "Requisição inválida: \"id\" deve ser texto, número ou null.");
    if (envelope.value("jsonrpc", nlohmann::json()) != "2.0")
        return ErrorReply(request.id, RpcError::InvalidRequest,
                          "Requisição inválida: \"jsonrpc\" deve ser \"2.0\".");
    if (!envelope.contains("method") || !envelope["method"].is_string())
        return ErrorReply(request.id, RpcError::InvalidRequest,
                          "Requisição inválida: falta o nome do método (\"method\").");
    request.method = envelope["method"].get<std::string>();
    request.params =
        envelope.contains("params") ? std::move(envelope["params"]) : nlohmann::json::array();
    try {
        // Nothing reaches the database before the whole call has passed its checks.
        request.delta = RequestValidator(limits).Check(request.method, request.params);
    } catch (const RpcError& error) {
        Reply reply = ErrorReply(request.id, error.code(), error.what());
        if (request.notification) reply.line.reset();
        return reply;
    }
    const std::string& prefix = ServerPrefix();
    request.writes = RdmFormPgto::Writes(request.method.substr(prefix.size()));
    if (request.delta) request.params = nlohmann::json::array();
    return request;
}

Reply RequestHandler::Execute(const Request& request, Storage& storage) {
    Reply reply;
    try {
        const std::string& prefix = ServerPrefix();
        RdmFormPgto module(storage);
        const std::string method = request.method.substr(prefix.size());
        const std::string result = request.delta ? module.Apply(method, *request.delta)
                                                 : module.Call(method, request.params);
        // Keys in the order the rest of the answers have them.
        std::string line = "{\"id\":";
        line.reserve(result.size() + 48);
        JsonText::AppendValue(line, request.id);
        line += ",\"jsonrpc\":\"2.0\",\"result\":";
        line += result;
        line += '}';
        reply.line = std::move(line);
    } catch (const RpcError& error) {
        reply = ErrorReply(request.id, error.code(), error.what());
    } catch (const StorageError& error) {
        reply = ErrorReply(request.id, RpcError::DatabaseError, error.what());
    } catch (const std::exception& error) {
        reply = ErrorReply(request.id, RpcError::InternalError,
                           std::string("Erro interno do servidor de aplicação: ") + error.what());
    }
    if (request.notification) reply.line.reset();
    return reply;
}

Reply RequestHandler::DatabaseFailure(const Request& request, const std::string& message) {
    Reply reply = ErrorReply(request.id, RpcError::DatabaseError, message);
    if (request.notification) reply.line.reset();
    return reply;
}

Reply RequestHandler::Handle(std::string_view line, Storage& storage, const RequestLimits& limits) {
    auto parsed = Parse(line, limits);
    if (auto* reply = std::get_if<Reply>(&parsed)) return std::move(*reply);
    const Request& request = std::get<Request>(parsed);
    if (!request.writes) return Execute(request, storage);
    Transaction transaction(storage);
    Reply reply = Execute(request, storage);
    if (reply.ok) transaction.Commit(); // otherwise the transaction rolls back as it ends
    return reply;
}

} // namespace ger
