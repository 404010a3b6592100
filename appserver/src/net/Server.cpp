#include "net/Server.h"

#include "net/Connection.h"

#include <csignal>
#include <iostream>
#include <thread>
#include <vector>

namespace ger {

Server::Server(ServerOptions options, const StorageFactory& storageFactory)
    : options_(std::move(options)), storageFactory_(storageFactory), io_(),
      strand_(asio::make_strand(io_)), acceptor_(strand_), signals_(strand_) {
    asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options_.address), options_.port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen();
    port_ = acceptor_.local_endpoint().port();
    if (options_.handleSignals) {
        signals_.add(SIGINT);
        signals_.add(SIGTERM);
        signals_.async_wait([this](const asio::error_code& error, int) {
            if (!error) Stop();
        });
    }
    Accept();
}

Server::~Server() = default;

void Server::Accept() {
    acceptor_.async_accept(asio::make_strand(io_), [this](const asio::error_code& error,
                                                          asio::ip::tcp::socket socket) {
        if (error) {
            if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
            Accept(); // a client that vanished while being accepted stops nobody else
            return;
        }
        auto connection = std::make_shared<Connection>(std::move(socket), storageFactory_,
                                                       options_.maxLineLength);
        {
            std::lock_guard lock(connectionsMutex_);
            connections_.remove_if([](const auto& weak) { return weak.expired(); });
            connections_.push_back(connection);
        }
        connection->Start();
        Accept();
    });
}

void Server::Run() {
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < options_.threads; ++i)
        workers.emplace_back([this] { io_.run(); });
    io_.run();
    for (auto& worker : workers)
        worker.join();
}

void Server::Stop() {
    asio::post(strand_, [this] {
        asio::error_code ignored;
        acceptor_.close(ignored);
        signals_.cancel(ignored);
        std::lock_guard lock(connectionsMutex_);
        for (auto& weak : connections_)
            if (auto connection = weak.lock()) connection->Stop();
        connections_.clear();
    });
}

} // namespace ger
