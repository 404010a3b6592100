#include "net/Connection.h"

#include <spdlog/spdlog.h>

namespace ger {

Connection::Connection(asio::ip::tcp::socket socket, ConnectionShared& shared)
    : socket_(std::move(socket)), shared_(shared), framer_(shared.limits.maxLineBytes) {}

void Connection::Start() {
    asio::error_code ignored;
    socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
    socket_.non_blocking(true, ignored);
    ReadNow();
}

void Connection::Stop() {
    stopping_ = true;
    if (!busy_) Close();
}

void Connection::WaitForInput() {
    socket_.async_wait(
        asio::socket_base::wait_read,
        [self = shared_from_this()](const asio::error_code& error) { self->OnReadable(error); });
}

void Connection::OnReadable(const asio::error_code& error) {
    if (closed_) return;
    if (error) return Close();
    ReadNow();
}

void Connection::ReadNow() {
    asio::error_code readError;
    std::size_t length = socket_.read_some(asio::buffer(shared_.scratch), readError);
    if (readError == asio::error::would_block) return WaitForInput();
    if (readError) return Close(); // the peer is gone
    // A line over the limit is answered once the lines before it are (see Next).
    framer_.Feed(std::string_view(shared_.scratch.data(), length), pending_);
    Next();
}

void Connection::Next() {
    if (busy_ || closed_) return;
    if (stopping_) return Close();
    if (!pending_.empty()) {
        std::string line = std::move(pending_.front());
        pending_.erase(pending_.begin());
        return Run(std::move(line));
    }
    if (framer_.Overflowed()) {
        closeAfterWrite_ = true; // the stream is out of step with the requests for good
        return Send(RequestHandler::LineTooLong(framer_.MaxLineLength()) + "\n");
    }
    // The next request may have arrived while this one was served, and the reactor reports
    // only new arrivals: read first, wait only when there is nothing.
    ReadNow();
}

void Connection::Run(std::string line) {
    const auto started = Clock::now();
    auto parsed = RequestHandler::Parse(line, shared_.limits);
    if (auto* reply = std::get_if<Reply>(&parsed)) return Finish("-", *reply, started);
    RunOnDatabase(std::move(std::get<Request>(parsed)), started);
}

void Connection::RunOnDatabase(Request request, Clock::time_point started) {
    busy_ = true;
    // The reply comes back through the network thread's queue; the work guard keeps the
    // network loop alive (also while stopping) until it has.
    auto answer = [self = shared_from_this(), work = asio::make_work_guard(shared_.io),
                   started](std::string method, Reply reply) mutable {
        asio::io_context& io = self->shared_.io;
        asio::post(io, [self = std::move(self), work = std::move(work), started,
                        method = std::move(method), reply = std::move(reply)] {
            self->busy_ = false;
            self->Finish(method, reply, started);
        });
    };
    if (!request.writes) {
        shared_.database.Read([request = std::move(request), answer](Storage& storage) mutable {
            Reply reply = RequestHandler::Execute(request, storage);
            answer(std::move(request.method), std::move(reply));
        });
        return;
    }
    auto call = std::make_shared<std::pair<Request, Reply>>(std::move(request), Reply{});
    shared_.database.Write({[call](Storage& storage) {
                                call->second = RequestHandler::Execute(call->first, storage);
                                return call->second.ok;
                            },
                            [call, answer](const std::optional<std::string>& failure) mutable {
                                if (failure)
                                    call->second =
                                        RequestHandler::DatabaseFailure(call->first, *failure);
                                answer(std::move(call->first.method), std::move(call->second));
                            }});
}

void Connection::Finish(const std::string& method, const Reply& reply, Clock::time_point started) {
    if (reply.outcome != "blank")
        spdlog::info(
            "call method={} outcome={} duration_us={}", method, reply.outcome,
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count());
    if (closed_) return;
    if (!reply.line) return Next();
    Send(*reply.line + "\n");
}

void Connection::Send(std::string text) {
    busy_ = true;
    output_ = std::move(text);
    asio::async_write(socket_, asio::buffer(output_),
                      [self = shared_from_this()](const asio::error_code& error, std::size_t) {
                          self->busy_ = false;
                          std::string().swap(self->output_); // an idle client holds no buffer
                          if (error || self->closeAfterWrite_) return self->Close();
                          self->Next();
                      });
}

void Connection::Close() {
    if (closed_) return;
    closed_ = true;
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    std::vector<std::string>().swap(pending_);
    shared_.open.erase(shared_from_this());
}

} // namespace ger
