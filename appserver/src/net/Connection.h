#pragma once
#include "net/LineFramer.h"
#include "rpc/RequestHandler.h"

#include <array>
#include <asio.hpp>
#include <memory>
#include <string>

namespace ger {

/// One client: reads request lines, answers each in order, and is the only object that
/// touches the client's socket. Its handlers run on the socket's strand, one at a time, so a
/// connection needs no locks; requests of one client are served strictly in sequence.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(asio::ip::tcp::socket socket, const StorageFactory& storageFactory,
               std::size_t maxLineLength);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Starts reading requests.
    void Start();
    /// Closes the socket from any thread; the pending operation ends and the connection goes.
    void Stop();

private:
    void ReadMore();
    void OnRead(const asio::error_code& error, std::size_t length);
    void WriteResponses();

    asio::ip::tcp::socket socket_;
    LineFramer framer_;
    RequestHandler handler_;
    std::array<char, 64 * 1024> readBuffer_{};
    std::string responses_;
    bool closeAfterWrite_ = false;
};

} // namespace ger
