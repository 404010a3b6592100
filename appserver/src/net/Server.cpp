#include "net/Server.h"

#include "net/ConnectionReplies.h"
#include "rpc/RequestHandler.h"

#include <csignal>
#include <fcntl.h>
#include <spdlog/spdlog.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace ger {
namespace {

int OpenSpareDescriptor() {
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

// Out of descriptors or memory: accepting again at once would only fail again.
bool OutOfResources(const asio::error_code& error) {
    const int code = error.value();
    return code == EMFILE || code == ENFILE || code == ENOBUFS || code == ENOMEM;
}

// Anyone who can reach a port beyond loopback could read and change every payment term, so
// such a port is opened only behind a token; checked before the database is opened.
ServerOptions Checked(ServerOptions options) {
    // The server listens on an address, not a name: a name could stand for several.
    asio::error_code notAnAddress;
    const auto address = asio::ip::make_address(options.address, notAnAddress);
    if (notAnAddress)
        throw std::runtime_error("cannot listen on \"" + options.address +
                                 "\": not an IP address (such as 127.0.0.1, 0.0.0.0 or ::1)");
    if (!address.is_loopback() && !options.token.Required())
        throw std::runtime_error("refusing to listen on " + options.address +
                                 " without a token: give --token-file FILE (every client then "
                                 "logs in with it) or listen on 127.0.0.1");
    return options;
}

} // namespace

Server::Server(ServerOptions options, const StorageFactory& storageFactory)
    : options_(Checked(std::move(options))),
      database_(Database::Open(storageFactory, options_.database)), shared_{io_, *database_,
                                                                            options_.limits,
                                                                            options_.connections,
                                                                            options_.token},
      acceptor_(io_), signals_(io_), acceptDelay_(io_) {
    asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options_.address), options_.port);
    try {
        acceptor_.open(endpoint.protocol());
        acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
        acceptor_.bind(endpoint);
        acceptor_.listen(asio::socket_base::max_listen_connections);
    } catch (const asio::system_error& error) {
        // Most often the port is taken, or below 1024 without the right to it.
        throw std::runtime_error("cannot listen on " + options_.address + ":" +
                                 std::to_string(options_.port) + ": " + error.code().message());
    }
    acceptor_.non_blocking(true);
    port_ = acceptor_.local_endpoint().port();
    spareDescriptor_ = OpenSpareDescriptor();
    if (options_.handleSignals) {
        signals_.add(SIGINT);
        signals_.add(SIGTERM);
        signals_.async_wait([this](const asio::error_code& error, int signal) {
            if (error) return;
            spdlog::info("signal {}: stopping", signal);
            StopNow();
        });
    }
    Accept();
}

Server::~Server() {
    if (spareDescriptor_ >= 0) ::close(spareDescriptor_);
}

void Server::Accept() {
    acceptor_.async_accept([this](const asio::error_code& error, asio::ip::tcp::socket socket) {
        if (!acceptor_.is_open()) return;
        if (error) {
            if (OutOfResources(error)) {
                spdlog::warn("accept: {}; refusing clients for a moment", error.message());
                RefuseOne();
                return AcceptLater();
            }
            return Accept(); // a client that vanished while being accepted stops nobody else
        }
        if (shared_.open.size() >= options_.connections.maxConnections) {
            RefuseOverLimit(socket);
            return Accept();
        }
        auto connection = std::make_shared<Connection>(std::move(socket), shared_);
        shared_.open.insert(connection);
        connection->Start();
        Accept();
    });
}

void Server::RefuseOne() {
    if (spareDescriptor_ < 0) return;
    ::close(spareDescriptor_);
    int client = ::accept4(acceptor_.native_handle(), nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) {
        SendBeforeClosing(client, RequestHandler::NoResources() + "\n");
        ::close(client);
    }
    spareDescriptor_ = OpenSpareDescriptor();
}

void Server::RefuseOverLimit(asio::ip::tcp::socket& socket) {
    spdlog::warn("connection peer={} refused: {} connections open", PeerOf(socket),
                 shared_.open.size());
    SendBeforeClosing(socket.native_handle(),
                      ConnectionReplies::TooManyConnections(options_.connections.maxConnections) +
                          "\n");
    asio::error_code error;
    socket.shutdown(asio::ip::tcp::socket::shutdown_both, error);
    socket.close(error);
}

void Server::AcceptLater() {
    acceptDelay_.expires_after(std::chrono::milliseconds(50));
    acceptDelay_.async_wait([this](const asio::error_code& error) {
        if (!error && acceptor_.is_open()) Accept();
    });
}

void Server::Run() {
    io_.run();
}

void Server::Stop() {
    asio::post(io_, [this] { StopNow(); });
}

void Server::StopNow() {
    asio::error_code ignored;
    acceptor_.close(ignored);
    signals_.cancel(ignored);
    acceptDelay_.cancel();
    // Stop() takes a connection out of the set when it closes at once.
    auto open = shared_.open;
    for (const auto& connection : open)
        connection->Stop();
}

} // namespace ger
