#include "net/NetConnection.h"

#include "core/Abort.h"
#include "net/TcpLineClient.h"
#include "shared/HostConfig.h"

#include <chrono>
#include <mutex>

namespace plat {
namespace {

constexpr std::chrono::seconds kConnectTimeout{10};

std::mutex observerMutex;
TNetConnection::CallObserver callObserver;

void NotifyObserver(const std::string& method, const nlohmann::json& args) {
    TNetConnection::CallObserver observer;
    {
        std::lock_guard lock(observerMutex);
        observer = callObserver;
    }
    if (observer) observer(method, args);
}

} // namespace

TNetConnection::TNetConnection(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), socket_(std::make_unique<TcpLineClient>()) {}

TNetConnection::~TNetConnection() {
    Close();
}

void TNetConnection::SetCallObserver(CallObserver observer) {
    std::lock_guard lock(observerMutex);
    callObserver = std::move(observer);
}

bool TNetConnection::Connected() const {
    return socket_->IsOpen();
}

void TNetConnection::Close() {
    socket_->Close();
}

void TNetConnection::SetConnected(bool connected) {
    if (connected)
        Open();
    else
        Close();
}

void TNetConnection::Broken(const std::string& reason) {
    Close();
    throw EDatabaseError("Falha na comunicação com o servidor de aplicação (" + Host + ":" +
                         std::to_string(Port) + "): " + reason + ".");
}

void TNetConnection::Open() {
    if (Connected()) return;
    if (BeforeConnect) BeforeConnect(*this);
    std::string token;
    try {
        token = HostConfig::ServerToken();
        socket_->Connect(Host, Port, kConnectTimeout);
    } catch (const std::runtime_error& error) {
        Broken(error.what());
    }
    if (!token.empty()) LogIn(token);
}

void TNetConnection::LogIn(const std::string& token) {
    const long long id = ++lastId_;
    const nlohmann::json response =
        Exchange({{"jsonrpc", "2.0"}, {"id", id}, {"method", "Login"}, {"params", {token}}}, id);
    if (response.is_object() && response.value("result", nlohmann::json()) == true) return;
    Close();
    std::string reason = "resposta inesperada à identificação";
    if (response.is_object() && response.contains("error") && response["error"].is_object())
        reason = response["error"].value("message", reason);
    throw EDatabaseError("O servidor de aplicação (" + Host + ":" + std::to_string(Port) +
                         ") recusou a conexão: " + reason);
}

nlohmann::json TNetConnection::CallRemote(const std::string& method, const nlohmann::json& args) {
    NotifyObserver(method, args);
    if (!args.is_array())
        throw EDatabaseError("Chamada inválida de " + method +
                             ": os argumentos devem formar uma lista.");
    // The server closes clients idle for long; nothing was sent on this one since, so
    // connecting again loses nothing.
    if (socket_->Stale()) Close();
    Open();
    const long long id = ++lastId_;
    return Exchange(
        {{"jsonrpc", "2.0"}, {"id", id}, {"method", ServerName + "." + method}, {"params", args}},
        id);
}

nlohmann::json TNetConnection::Exchange(const nlohmann::json& request, long long id) {
    std::string line;
    try {
        socket_->SendLine(request.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
        line = socket_->ReceiveLine(std::chrono::seconds(ReceiveTimeout));
    } catch (const std::runtime_error& error) {
        Broken(error.what());
    }
    nlohmann::json response = nlohmann::json::parse(line, nullptr, false);
    if (response.is_discarded()) Broken("resposta ilegível do servidor");
    // Requests go one at a time, so the answer must be to this one; anything else means the
    // stream is out of step and cannot be trusted for the next call either. A null id is the
    // server refusing the connection itself (a limit reached), which answers this call too.
    if (response.is_object() && response.contains("id") && !response["id"].is_null() &&
        response["id"] != id)
        Broken("resposta fora de sequência");
    return response;
}

} // namespace plat
