#pragma once
#include "net/Server.h"
#include "storage/StorageFactory.h"

#include <asio.hpp>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <string>
#include <thread>

/// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempFolder {
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

/// A fresh, empty database for one test: an SQLite file in a temporary folder, or, when
/// GER_TEST_POSTGRES holds a PostgreSQL server's URL, a schema of its own there (dropped after).
class TestDatabase {
public:
    TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    ~TestDatabase();
    const std::string& Url() const { return url_; }
    bool IsPostgres() const { return !schema_.empty(); }

private:
    TempFolder folder_;
    std::string serverUrl_, schema_, url_;
};

/// The real application server on 127.0.0.1, on a thread of this process, over a fresh
/// database or over the database of another RunningServer (a second server of the company).
class RunningServer {
public:
    /// Starts on a free port with request lines of maxLineLength bytes at most.
    explicit RunningServer(std::size_t maxLineLength = 16 * 1024 * 1024,
                           ger::ConnectionLimits connections = {}, ger::AccessToken token = {});
    struct SameDatabaseAs {
        const RunningServer& server;
    };
    explicit RunningServer(SameDatabaseAs other);
    ~RunningServer() { Stop(); }

    unsigned short Port() const { return options_.port; }
    /// The URL of the server's database, for hosts that read it directly.
    const std::string& DatabaseUrl() const { return factory_->Url(); }
    /// A new session on the server's database, for setting up and checking rows directly.
    std::unique_ptr<ger::Storage> OpenStorage() const { return factory_->Open(); }
    /// Stops the server; the database stays. Start() serves it again on the same port.
    void Stop();
    void Start();
    void Restart() {
        Stop();
        Start();
    }

private:
    std::shared_ptr<TestDatabase> database_;
    std::unique_ptr<ger::StorageFactory> factory_;
    ger::ServerOptions options_;
    std::unique_ptr<ger::Server> server_;
    std::thread thread_;
};

/// The request line (without its newline) calling "Ger06700.rdmFormPgto.<method>"; bytes that
/// are no UTF-8 go out as U+FFFD.
inline std::string RequestLine(const std::string& method, const nlohmann::json& params,
                               int id = 7) {
    return nlohmann::json{{"jsonrpc", "2.0"},
                          {"id", id},
                          {"method", "Ger06700.rdmFormPgto." + method},
                          {"params", params}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

/// A plain JSON-RPC client: writes lines, reads answer lines.
class RpcClient {
public:
    /// receiveBuffer, when not 0, caps the socket's receive buffer (a client slow to read).
    explicit RpcClient(unsigned short port, int receiveBuffer = 0) : socket_(io_) {
        socket_.open(asio::ip::tcp::v4());
        if (receiveBuffer > 0)
            socket_.set_option(asio::socket_base::receive_buffer_size(receiveBuffer));
        socket_.connect({asio::ip::make_address("127.0.0.1"), port});
        socket_.set_option(asio::ip::tcp::no_delay(true));
    }

    void Write(const std::string& bytes) { asio::write(socket_, asio::buffer(bytes)); }
    /// Sends bytes as far as the server takes them; false when it closed or reset.
    bool TryWrite(const std::string& bytes) {
        asio::error_code error;
        asio::write(socket_, asio::buffer(bytes), error);
        return !error;
    }
    /// One answer line; empty when the server closed the connection.
    std::string ReadLine() {
        asio::error_code error;
        const std::size_t length =
            asio::read_until(socket_, asio::dynamic_buffer(buffer_), '\n', error);
        if (error) return {};
        std::string line = buffer_.substr(0, length - 1);
        buffer_.erase(0, length);
        return line;
    }
    /// True once something (an answer, the close) is there to read, false after timeout.
    bool WaitReadable(std::chrono::milliseconds timeout) {
        pollfd watched{socket_.native_handle(), POLLIN, 0};
        return buffer_.find('\n') != std::string::npos ||
               ::poll(&watched, 1, static_cast<int>(timeout.count())) > 0;
    }
    /// Sends line and a "\n"; the answer line parsed, null when the server closed.
    nlohmann::json SendLine(const std::string& line) {
        Write(line + "\n");
        const std::string answer = ReadLine();
        return answer.empty() ? nlohmann::json() : nlohmann::json::parse(answer);
    }
    /// Calls "Ger06700.rdmFormPgto.<method>": the whole response, its id checked.
    nlohmann::json Call(const std::string& method, const nlohmann::json& params) {
        nlohmann::json response = SendLine(RequestLine(method, params, ++lastId_));
        if (!response.is_object()) {
            ADD_FAILURE() << method << ": the server closed the connection";
            return nlohmann::json::object();
        }
        EXPECT_EQ(response.value("id", nlohmann::json()), lastId_) << response.dump();
        return response;
    }
    /// The "result" of a call that must succeed (the test fails otherwise).
    nlohmann::json Result(const std::string& method, const nlohmann::json& params) {
        nlohmann::json response = Call(method, params);
        EXPECT_TRUE(response.contains("result")) << method << ": " << response.dump();
        return response.value("result", nlohmann::json());
    }

private:
    asio::io_context io_;
    asio::ip::tcp::socket socket_;
    std::string buffer_;
    int lastId_ = 0;
};
