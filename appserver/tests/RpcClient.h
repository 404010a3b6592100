#pragma once
#include <asio.hpp>
#include <chrono>
#include <nlohmann/json.hpp>
#include <string>

/// The request line (without its newline) calling "Ger06700.rdmFormPgto.<method>"; bytes that
/// are no UTF-8 go out as U+FFFD.
std::string RequestLine(const std::string& method, const nlohmann::json& params, int id = 7);

/// A plain JSON-RPC client for the tests: writes lines, reads answer lines.
class RpcClient {
public:
    /// receiveBuffer, when not 0, caps the socket's receive buffer (a client slow to read).
    explicit RpcClient(unsigned short port, int receiveBuffer = 0);

    /// Sends line as it is (a "\n" is added) and returns the answer line parsed.
    nlohmann::json SendLine(const std::string& line);
    /// Calls "Ger06700.rdmFormPgto.<method>" and returns the whole response.
    nlohmann::json Call(const std::string& method, const nlohmann::json& params);
    /// The "result" of a call that must succeed (the test fails otherwise).
    nlohmann::json Result(const std::string& method, const nlohmann::json& params);
    /// The "error" of a call that must fail.
    nlohmann::json Error(const std::string& method, const nlohmann::json& params);
    /// Sends raw bytes without adding anything.
    void Write(const std::string& bytes);
    /// Sends raw bytes as far as the server takes them; false when it closed or reset.
    bool TryWrite(const std::string& bytes);
    /// Reads one answer line; empty when the server closed the connection.
    std::string ReadLine();
    /// True once something (an answer, the close) is there to read, false after timeout.
    bool WaitReadable(std::chrono::milliseconds timeout);

private:
    asio::io_context io_;
    asio::ip::tcp::socket socket_;
    std::string buffer_;
    int lastId_ = 0;
};
