#pragma once
#include "guard/RequestLimits.h"
#include "net/AccessToken.h"
#include "net/ConnectionLimits.h"
#include "net/LineFramer.h"
#include "net/LoginCall.h"
#include "rpc/RequestHandler.h"
#include "storage/Database.h"

#include <array>
#include <asio.hpp>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace ger {

class Connection;

/// ADDRESS:PORT of the socket's peer, "?" when it is not known; for the log.
std::string PeerOf(const asio::ip::tcp::socket& socket);
/// Sends line on a socket without waiting and ignores what fails: for a connection about to be
/// closed, whose empty send buffer takes a line at once.
void SendBeforeClosing(int socket, const std::string& line);

/// What the connections of one server share. Its buffer, set and count are the network
/// thread's alone; the rest is set before the server starts and only read.
struct ConnectionShared {
    asio::io_context& io;
    Database& database;
    RequestLimits limits;
    ConnectionLimits connections;
    AccessToken token;
    /// Bytes are read here and only the unfinished part of a line is kept by a connection, so
    /// an idle connection holds no read buffer at all.
    std::array<char, 64 * 1024> scratch{};
    /// The open connections; a connection leaves when it closes, and its memory goes with its
    /// last pending operation.
    std::unordered_set<std::shared_ptr<Connection>> open{};
    /// Request text all connections hold, bounded by connections.maxBufferedBytes.
    std::size_t bufferedBytes = 0;
};

/// One client: reads request lines and answers each in order, one call at a time; the only
/// object that touches the client's socket. Its handlers run on the network thread; the call
/// itself runs on a database thread, which writes the answer to the socket itself when the
/// socket takes it at once (the network thread leaves the socket alone while a call is in
/// progress), so the client does not wait for the network thread to wake. When the whole
/// answer of a read went out, its read thread waits a moment for the client's next line, as
/// an idle read thread waits for work, and serves a read there at once or hands a write to the
/// writer: a client calling again at once meets no thread waking on the way. Otherwise, when
/// the client sent nothing more, the database thread starts the wait for the next request,
/// so the network thread is not woken for the call at all; the rest of a long answer, and
/// anything else, is the network thread's. While a call is in progress or an
/// answer is being written the connection reads nothing more, so a client that sends ahead is
/// held back by TCP rather than by the server's memory; what one read brings is bounded in
/// requests, and all connections together in bytes. A deadline watches every wait on the
/// client: for its next line, for the rest of a line, for it to take an answer.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(asio::ip::tcp::socket socket, ConnectionShared& shared);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Starts reading requests.
    void Start();
    /// Closes once the call in progress, if any, is answered. Network thread only.
    void Stop();

private:
    using Clock = std::chrono::steady_clock;
    enum class Wait { Idle, Line, Send };

    /// Arms the deadline and waits for bytes. Network thread, or the database thread ending a
    /// call (ResumeFromDatabase).
    void WaitForInput();
    void OnReceived(const asio::error_code& error, std::size_t length);
    /// Reads what has arrived without waiting; waits for input when nothing has.
    void ReadNow();
    /// Frames the bytes received and checks the limits; false when the client was refused.
    bool Take(const char* bytes, std::size_t length) {
        Frame(bytes, length);
        return Fits();
    }
    /// Adds the bytes received to the lines to run. Network thread, or the database thread
    /// serving the call.
    void Frame(const char* bytes, std::size_t length);
    /// Checks what the client sent ahead against the limits; false when it was refused.
    /// Network thread.
    bool Fits();
    /// Runs the next request line received, or waits for more.
    void Next();
    void Run(std::string line);
    void LogIn(const LoginCall& login);
    void RunOnDatabase(Request request, Clock::time_point started);
    /// Hands request to the database; network thread through RunOnDatabase, or the read
    /// thread that served the call before.
    void Call(Request request, Clock::time_point started);
    /// Lines sent ahead, an unfinished or overlong line, or a stop: work only the network
    /// thread does. Under handOver_ when a database thread asks.
    bool NetworkThreadHasWork() const;
    /// Read thread, once the whole answer went out: the client's next request when it came
    /// within a moment as one call of the module, for this thread to serve (a read) or to
    /// hand to the writer (a write). Anything else received stays framed for the network
    /// thread.
    std::optional<Request> NextCallHere();
    /// Database thread, once the answer is written: waits for the next request itself when
    /// the whole answer went out and nothing else is to be done; false leaves the rest to the
    /// network thread.
    bool ResumeFromDatabase(const Reply& reply, std::size_t written);
    /// Logs the call and sends its answer but for the written bytes the database thread sent.
    void Finish(const std::string& method, const Reply& reply, Clock::time_point started,
                std::size_t written = 0);
    /// Writes what the socket takes of line and its newline without waiting; the bytes
    /// written. Database thread, while the call is in progress.
    std::size_t WriteNow(const std::string& line);
    void Send(std::string text);
    /// Drops what the client sent, answers line and closes.
    void Refuse(const std::string& line);
    /// Sets the deadline of the wait that begins; the timer is moved only when it would fire
    /// too late. Network thread, or a database thread through ResumeFromDatabase.
    void Arm(Wait wait, Clock::time_point deadline);
    /// Whether the pending timer fires by deadline, so that setting it needs no timer call.
    bool TimerFiresBy(Clock::time_point deadline) const { return timerAt_ <= deadline; }
    void SetTimer(Clock::time_point at);
    void OnTimer(unsigned generation);
    /// No deadline while the database works; the timer stays as it is.
    void Disarm();
    void OnDeadline(Wait wait);
    /// Brings the shared count of held request bytes up to date with this connection's.
    void Account();
    void Close();

    asio::ip::tcp::socket socket_;
    ConnectionShared& shared_;
    std::string peer_; ///< ADDRESS:PORT, for the log
    LineFramer framer_;
    std::vector<std::string> pending_; ///< complete lines not yet run, oldest first
    std::size_t held_ = 0;             ///< bytes of pending_ and the unfinished line
    std::string output_;
    /// The next bytes land here: a read, unlike a bare wait, is tried at once when bytes came
    /// before it was started, which a wait started by a database thread could otherwise miss.
    std::array<char, 512> inbox_{};
    /// The deadline is kept here and checked when the timer fires, so a call sets a time rather
    /// than moving the timer: the timer is moved only to fire earlier, and when it fires early it
    /// is set again for what is left. The timer itself is the network thread's; a database
    /// thread only sets these under handOver_, and only while the timer already fires in time.
    asio::steady_timer timer_;
    Clock::time_point timerAt_ = Clock::time_point::max(); ///< max: no timer pending
    unsigned timerGeneration_ = 0; ///< a timer that was moved since it was set is stale
    Wait wait_ = Wait::Idle;
    Clock::time_point due_ = Clock::time_point::max(); ///< max: no deadline (a call in progress)
    /// Held by a database thread while it hands the connection back to the network thread
    /// (ResumeFromDatabase); the network thread's handlers take it before touching anything,
    /// and Stop() to see whether a call is in progress.
    std::mutex handOver_;
    Clock::time_point lineStarted_; ///< when the first byte of the unfinished line came
    Clock::time_point lastActive_;  ///< connected, or the last request run
    bool loggedIn_ = false;
    bool busy_ = false; ///< a call or a write is in progress
    bool stopping_ = false;
    bool closeAfterWrite_ = false;
    bool closed_ = false;
};

} // namespace ger
