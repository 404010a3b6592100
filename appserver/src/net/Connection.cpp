#include "net/Connection.h"

#include "net/ConnectionReplies.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <spdlog/spdlog.h>
#include <sys/socket.h>

namespace ger {
namespace {

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

/// Whether the database thread sent the whole answer line, its newline included.
bool AllWritten(const Reply& reply, std::size_t written) {
    return !reply.line || written == reply.line->size() + 1;
}

void LogCall(const std::string& method, const Reply& reply,
             std::chrono::steady_clock::time_point started) {
    if (reply.outcome == "blank") return;
    spdlog::info("call method={} outcome={} duration_us={}", method, reply.outcome,
                 std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - started)
                     .count());
}

} // namespace

std::string PeerOf(const asio::ip::tcp::socket& socket) {
    asio::error_code error;
    const auto endpoint = socket.remote_endpoint(error);
    if (error) return "?";
    return endpoint.address().to_string() + ":" + std::to_string(endpoint.port());
}

void SendBeforeClosing(int socket, const std::string& line) {
    [[maybe_unused]] auto sent =
        ::send(socket, line.data(), line.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

Connection::Connection(asio::ip::tcp::socket socket, ConnectionShared& shared)
    : socket_(std::move(socket)), shared_(shared), peer_(PeerOf(socket_)),
      framer_(shared.limits.maxLineBytes), timer_(shared.io), lastActive_(Clock::now()),
      loggedIn_(!shared.token.Required()) {}

void Connection::Start() {
    asio::error_code ignored;
    socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
    socket_.non_blocking(true, ignored);
    ReadNow();
}

void Connection::Stop() {
    bool busy;
    {
        std::lock_guard lock(handOver_);
        stopping_ = true;
        busy = busy_;
    }
    if (!busy) Close();
}

void Connection::WaitForInput() {
    if (framer_.Buffered() > 0)
        Arm(Wait::Line, lineStarted_ + shared_.connections.lineTimeout);
    else
        Arm(Wait::Idle, lastActive_ + shared_.connections.idleTimeout);
    socket_.async_read_some(
        asio::buffer(inbox_),
        [self = shared_from_this()](const asio::error_code& error, std::size_t length) {
            self->OnReceived(error, length);
        });
}

void Connection::OnReceived(const asio::error_code& error, std::size_t length) {
    // A database thread that started this read may still be returning from starting it.
    { std::lock_guard barrier(handOver_); }
    // Busy: a deadline's answer is being written since this read began; nothing more is read.
    if (closed_ || busy_) return;
    if (error) return Close(); // the peer is gone
    if (!Take(inbox_.data(), length)) return;
    // A full inbox: the burst may go on, and all of it counts against the limits before
    // anything of it runs.
    if (length == inbox_.size()) return ReadNow();
    Next();
}

void Connection::ReadNow() {
    asio::error_code readError;
    std::size_t length = socket_.read_some(asio::buffer(shared_.scratch), readError);
    if (readError == asio::error::would_block) {
        // Lines from the inbox still to be run, or an overlong line to be answered.
        if (!pending_.empty() || framer_.Overflowed()) return Next();
        return WaitForInput();
    }
    if (readError) return Close(); // the peer is gone
    if (Take(shared_.scratch.data(), length)) Next();
}

void Connection::Frame(const char* bytes, std::size_t length) {
    const bool lineWasEmpty = framer_.Buffered() == 0;
    // A line over the limit is answered once the lines before it are (see Next).
    framer_.Feed(std::string_view(bytes, length), pending_);
    if (lineWasEmpty || std::memchr(bytes, '\n', length))
        lineStarted_ = Clock::now(); // the unfinished line, if any, began in this read
    std::erase_if(pending_, IsBlank);
}

bool Connection::Fits() {
    const ConnectionLimits& limits = shared_.connections;
    if (pending_.size() > limits.maxQueuedRequests) {
        spdlog::warn("connection peer={} closed: {} requests sent ahead", peer_, pending_.size());
        Refuse(ConnectionReplies::TooManyQueued(limits.maxQueuedRequests));
        return false;
    }
    Account();
    if (shared_.bufferedBytes > limits.maxBufferedBytes) {
        spdlog::warn("connection peer={} closed: {} bytes of requests held by all clients", peer_,
                     shared_.bufferedBytes);
        Refuse(ConnectionReplies::ServerFull());
        return false;
    }
    return true;
}

void Connection::Next() {
    if (busy_ || closed_) return;
    if (stopping_) return Close();
    if (!pending_.empty()) {
        std::string line = std::move(pending_.front());
        pending_.erase(pending_.begin());
        Account();
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
    lastActive_ = started;
    if (auto login = LoginCall::Parse(line, shared_.limits)) return LogIn(*login);
    if (!loggedIn_) {
        spdlog::warn("connection peer={} closed: a call before the login", peer_);
        return Refuse(ConnectionReplies::LoginRequired(nullptr));
    }
    auto parsed = RequestHandler::Parse(line, shared_.limits);
    if (auto* reply = std::get_if<Reply>(&parsed)) return Finish("-", *reply, started);
    RunOnDatabase(std::move(std::get<Request>(parsed)), started);
}

void Connection::LogIn(const LoginCall& login) {
    // A server without a token takes any login, so one client configuration fits both.
    if (!shared_.token.Required() || (login.token && shared_.token.Matches(*login.token))) {
        loggedIn_ = true;
        spdlog::info("login peer={} outcome=ok", peer_);
        return Send(ConnectionReplies::LoggedIn(login.id) + "\n");
    }
    spdlog::warn("login peer={} outcome=refused: {}", peer_,
                 login.token ? "wrong token" : "no token");
    Refuse(ConnectionReplies::WrongToken(login.id));
}

void Connection::RunOnDatabase(Request request, Clock::time_point started) {
    busy_ = true;
    Disarm(); // the database's time is not the client's
    Call(std::move(request), started);
}

void Connection::Call(Request request, Clock::time_point started) {
    // The database thread writes the answer at once when the socket takes it; the network
    // thread touches neither the socket nor the connection while the call is in progress, so
    // this is the only writer. The rest comes back through the network thread's queue; the
    // work guard keeps the network loop alive (also while stopping) until it has.
    auto answer = [self = shared_from_this(), work = asio::make_work_guard(shared_.io)](
                      std::string method, Reply reply, Clock::time_point started,
                      std::size_t written) mutable {
        if (self->ResumeFromDatabase(reply, written)) return LogCall(method, reply, started);
        asio::io_context& io = self->shared_.io;
        asio::post(io, [self = std::move(self), work = std::move(work), started, written,
                        method = std::move(method), reply = std::move(reply)] {
            self->busy_ = false;
            self->Finish(method, reply, started, written);
        });
    };
    if (!request.writes) {
        shared_.database.Read([self = shared_from_this(), request = std::move(request), answer,
                               started](Storage& storage) mutable {
            for (;;) {
                Reply reply = RequestHandler::Execute(request, storage);
                const std::size_t written = reply.line ? self->WriteNow(*reply.line) : 0;
                // A read that shares its snapshot with others queued beside it leaves the
                // next call to a fresh one: it must see every change committed before it, and
                // the reads beside it must not wait for it.
                std::optional<Request> next;
                if (AllWritten(reply, written) && !storage.InTransaction())
                    next = self->NextCallHere();
                if (!next)
                    return answer(std::move(request.method), std::move(reply), started, written);
                LogCall(request.method, reply, started);
                started = self->lastActive_;
                // A write goes to the writer from here; a read runs on this thread at once.
                if (next->writes) return self->Call(std::move(*next), started);
                request = std::move(*next);
            }
        });
        return;
    }
    auto call = std::make_shared<std::pair<Request, Reply>>(std::move(request), Reply{});
    shared_.database.Write(
        {[call](Storage& storage) {
             call->second = RequestHandler::Execute(call->first, storage);
             return call->second.ok;
         },
         [self = shared_from_this(), call, answer,
          started](const std::optional<std::string>& failure) mutable {
             Reply& reply = call->second;
             if (failure) reply = RequestHandler::DatabaseFailure(call->first, *failure);
             const std::size_t written = reply.line ? self->WriteNow(*reply.line) : 0;
             answer(std::move(call->first.method), std::move(reply), started, written);
         }});
}

bool Connection::NetworkThreadHasWork() const {
    return stopping_ || !pending_.empty() || framer_.Buffered() > 0 || framer_.Overflowed();
}

std::optional<Request> Connection::NextCallHere() {
    {
        std::lock_guard lock(handOver_);
        if (NetworkThreadHasWork()) return std::nullopt;
    }
    // Bytes are read here as on the network thread, into a buffer of the thread's.
    thread_local std::array<char, 64 * 1024> bytes;
    ssize_t length = -1;
    const bool arrived = shared_.database.WaitOnReadThread([&] {
        length = ::recv(socket_.native_handle(), bytes.data(), bytes.size(), MSG_DONTWAIT);
        return length >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
    });
    // The end of the stream shows again to the network thread's read; so does a failure,
    // as the end of the stream.
    if (!arrived || length <= 0) return std::nullopt;
    Frame(bytes.data(), static_cast<std::size_t>(length));
    // Lines sent ahead, an unfinished or overlong line, and a line that is no call of the
    // module (a login, a call refused at once) are the network thread's, with the limits it
    // checks.
    if (pending_.size() != 1 || framer_.Buffered() > 0 || framer_.Overflowed()) return std::nullopt;
    auto parsed = RequestHandler::Parse(pending_.front(), shared_.limits);
    auto* request = std::get_if<Request>(&parsed);
    if (!request) return std::nullopt;
    pending_.clear();
    lastActive_ = Clock::now();
    return std::move(*request);
}

bool Connection::ResumeFromDatabase(const Reply& reply, std::size_t written) {
    std::lock_guard lock(handOver_);
    // Lines sent ahead, the start of the next one, a stop or an answer not yet all out are
    // the network thread's. While the call was in progress the network thread left these
    // alone, and the pool's queue ordered what it wrote before.
    // So is a timer that would fire too late for the wait: only the network thread moves it.
    if (NetworkThreadHasWork() || !AllWritten(reply, written) ||
        !TimerFiresBy(lastActive_ + shared_.connections.idleTimeout))
        return false;
    busy_ = false;
    WaitForInput();
    return true;
}

void Connection::Finish(const std::string& method, const Reply& reply, Clock::time_point started,
                        std::size_t written) {
    LogCall(method, reply, started);
    if (closed_) return;
    // What a read thread received after the answer counts against the limits here.
    if (!Fits()) return;
    if (AllWritten(reply, written)) return Next();
    Send((*reply.line + "\n").substr(written));
}

std::size_t Connection::WriteNow(const std::string& line) {
    static constexpr char kNewline = '\n';
    const std::size_t total = line.size() + 1;
    std::size_t written = 0;
    asio::error_code error; // would_block or a broken connection: the network thread goes on
    while (written < total && !error) {
        // The line and its newline go out in one send, without copying the line.
        const std::array<asio::const_buffer, 2> rest{
            asio::buffer(line.data() + std::min(written, line.size()),
                         line.size() - std::min(written, line.size())),
            asio::buffer(&kNewline, 1)};
        written += socket_.write_some(rest, error);
    }
    return written;
}

void Connection::Send(std::string text) {
    busy_ = true;
    output_ = std::move(text);
    Arm(Wait::Send, Clock::now() + shared_.connections.sendTimeout);
    asio::async_write(socket_, asio::buffer(output_),
                      [self = shared_from_this()](const asio::error_code& error, std::size_t) {
                          self->busy_ = false;
                          std::string().swap(self->output_); // an idle client holds no buffer
                          if (error || self->closeAfterWrite_) return self->Close();
                          self->Next();
                      });
}

void Connection::Refuse(const std::string& line) {
    std::vector<std::string>().swap(pending_);
    framer_.Discard();
    Account();
    closeAfterWrite_ = true;
    Send(line + "\n");
}

void Connection::Arm(Wait wait, Clock::time_point deadline) {
    wait_ = wait;
    due_ = deadline;
    if (!TimerFiresBy(deadline)) SetTimer(deadline);
}

void Connection::SetTimer(Clock::time_point at) {
    const unsigned generation = ++timerGeneration_;
    timerAt_ = at;
    timer_.expires_at(at);
    timer_.async_wait([self = shared_from_this(), generation](const asio::error_code& error) {
        if (!error) self->OnTimer(generation);
    });
}

void Connection::OnTimer(unsigned generation) {
    Wait wait;
    {
        // A database thread may be setting the deadline as it ends a call.
        std::lock_guard lock(handOver_);
        if (closed_ || generation != timerGeneration_) return;
        timerAt_ = Clock::time_point::max();
        // During a call there is no deadline; the network thread sets the timer again when
        // the call ends (ResumeFromDatabase leaves that to it).
        if (due_ == Clock::time_point::max()) return;
        if (Clock::now() < due_) return SetTimer(due_);
        wait = wait_;
    }
    OnDeadline(wait);
}

void Connection::Disarm() {
    due_ = Clock::time_point::max();
}

void Connection::OnDeadline(Wait wait) {
    switch (wait) {
    case Wait::Idle:
        spdlog::info("connection peer={} closed: idle", peer_);
        return Close();
    case Wait::Line:
        spdlog::warn("connection peer={} closed: a line unfinished after {} ms", peer_,
                     shared_.connections.lineTimeout.count());
        return Refuse(ConnectionReplies::LineTimeout(shared_.connections.lineTimeout));
    case Wait::Send:
        spdlog::warn("connection peer={} closed: an answer not taken after {} ms", peer_,
                     shared_.connections.sendTimeout.count());
        return Close(); // the write in progress ends with an error
    }
}

void Connection::Account() {
    std::size_t held = framer_.Buffered();
    for (const auto& line : pending_)
        held += line.size();
    shared_.bufferedBytes = shared_.bufferedBytes - held_ + held;
    held_ = held;
}

void Connection::Close() {
    if (closed_) return;
    closed_ = true;
    Disarm();
    timer_.cancel(); // its handler holds the connection
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    std::vector<std::string>().swap(pending_);
    framer_.Discard();
    Account();
    shared_.open.erase(shared_from_this());
}

} // namespace ger
