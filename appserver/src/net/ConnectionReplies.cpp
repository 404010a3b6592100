#include "net/ConnectionReplies.h"

#include "rpc/RpcError.h"

namespace ger::ConnectionReplies {
namespace {

std::string Error(const nlohmann::json& id, int code, const std::string& message) {
    return nlohmann::json{
        {"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Seconds(std::chrono::milliseconds duration) {
    const auto tenths = (duration.count() + 50) / 100;
    return std::to_string(tenths / 10) + (tenths % 10 ? "," + std::to_string(tenths % 10) : "");
}

} // namespace

std::string TooManyConnections(std::size_t limit) {
    return Error(nullptr, RpcError::InternalError,
                 "O servidor de aplicação já atende " + std::to_string(limit) +
                     " conexões, o seu limite; tente novamente em instantes.");
}

std::string ServerFull() {
    return Error(nullptr, RpcError::InternalError,
                 "O servidor de aplicação tem requisições incompletas demais em espera; tente "
                 "novamente em instantes.");
}

std::string TooManyQueued(std::size_t limit) {
    return Error(nullptr, RpcError::InvalidRequest,
                 "Requisições demais enviadas antes das respostas: o servidor aceita até " +
                     std::to_string(limit) + " em espera por conexão.");
}

std::string LineTimeout(std::chrono::milliseconds limit) {
    return Error(nullptr, RpcError::InvalidRequest,
                 "Requisição incompleta por mais de " + Seconds(limit) +
                     " s; a conexão foi encerrada.");
}

std::string LoginRequired(const nlohmann::json& id) {
    return Error(id, RpcError::AccessDenied,
                 "Acesso negado: a conexão deve começar pela identificação (método \"Login\" "
                 "com o código de acesso).");
}

std::string WrongToken(const nlohmann::json& id) {
    return Error(id, RpcError::AccessDenied, "Acesso negado: código de acesso inválido.");
}

std::string LoggedIn(const nlohmann::json& id) {
    return nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"result", true}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace ger::ConnectionReplies
