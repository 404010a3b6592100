#pragma once
#include <chrono>
#include <string>

namespace plat {

/// A blocking TCP client that exchanges newline-terminated lines, with deadlines on connect
/// and receive. Failures throw std::runtime_error with a short Portuguese reason.
class TcpLineClient {
public:
    TcpLineClient() = default;
    TcpLineClient(const TcpLineClient&) = delete;
    TcpLineClient& operator=(const TcpLineClient&) = delete;
    ~TcpLineClient();

    /// Connects to host:port (Nagle off), giving up after timeout.
    void Connect(const std::string& host, int port, std::chrono::milliseconds timeout);
    /// Sends line followed by "\n".
    void SendLine(const std::string& line);
    /// The next line received (without its "\n"), waiting at most timeout for it.
    std::string ReceiveLine(std::chrono::milliseconds timeout);
    void Close();
    /// True when the peer closed the connection, or sent something no request asked for,
    /// since the last line received; looks without waiting.
    bool Stale() const;
    bool IsOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string received_;
};

} // namespace plat
