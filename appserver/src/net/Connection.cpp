#include "net/Connection.h"

namespace ger {

Connection::Connection(asio::ip::tcp::socket socket, const StorageFactory& storageFactory,
                       std::size_t maxLineLength)
    : socket_(std::move(socket)), framer_(maxLineLength), handler_(storageFactory) {}

void Connection::Start() {
    asio::error_code ignored;
    socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
    ReadMore();
}

void Connection::Stop() {
    asio::post(socket_.get_executor(), [self = shared_from_this()] {
        asio::error_code ignored;
        self->socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
        self->socket_.close(ignored);
    });
}

void Connection::ReadMore() {
    socket_.async_read_some(
        asio::buffer(readBuffer_),
        [self = shared_from_this()](const asio::error_code& error, std::size_t length) {
            self->OnRead(error, length);
        });
}

void Connection::OnRead(const asio::error_code& error, std::size_t length) {
    if (error) return; // peer gone or server stopping: dropping the last reference closes us
    std::vector<std::string> lines;
    bool inStep = framer_.Feed(std::string_view(readBuffer_.data(), length), lines);
    for (const auto& line : lines)
        if (auto response = handler_.Handle(line)) responses_ += *response + "\n";
    if (!inStep) {
        responses_ += RequestHandler::LineTooLong(framer_.MaxLineLength()) + "\n";
        closeAfterWrite_ = true;
    }
    if (responses_.empty())
        ReadMore();
    else
        WriteResponses();
}

void Connection::WriteResponses() {
    asio::async_write(socket_, asio::buffer(responses_),
                      [self = shared_from_this()](const asio::error_code& error, std::size_t) {
                          if (error) return;
                          self->responses_.clear();
                          if (self->closeAfterWrite_) {
                              asio::error_code ignored;
                              self->socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
                              self->socket_.close(ignored);
                              return;
                          }
                          self->ReadMore();
                      });
}

} // namespace ger
