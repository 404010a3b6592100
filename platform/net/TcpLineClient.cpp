#include "net/TcpLineClient.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace plat {
namespace {

// A response larger than this is taken as a broken stream rather than buffered without end.
constexpr std::size_t kMaxResponseLength = 512u * 1024 * 1024;

std::string Reason(int error) {
    switch (error) {
    case ECONNREFUSED:
        return "conexão recusada (o servidor não está no ar nesse endereço)";
    case ETIMEDOUT:
        return "tempo de conexão esgotado";
    case ECONNRESET:
    case EPIPE:
        return "a conexão foi interrompida pelo servidor";
    case EHOSTUNREACH:
    case ENETUNREACH:
        return "servidor inalcançável";
    default:
        return std::strerror(error);
    }
}

[[noreturn]] void Fail(const std::string& reason) {
    throw std::runtime_error(reason);
}

/// Waits until fd is ready for events or the deadline passes; false on timeout.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) left = std::chrono::milliseconds(0);
        pollfd watched{fd, events, 0};
        int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) Fail(Reason(errno));
    }
}

/// One connect attempt to address; returns the connected socket or throws.
int ConnectTo(const addrinfo& address, std::chrono::steady_clock::time_point deadline) {
    int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                      address.ai_protocol);
    if (fd < 0) Fail(Reason(errno));
    try {
        if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
            if (errno != EINPROGRESS) Fail(Reason(errno));
            if (!WaitFor(fd, POLLOUT, deadline)) Fail("tempo de conexão esgotado");
            int error = 0;
            socklen_t length = sizeof error;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0) Fail(Reason(error));
        }
        int flags = ::fcntl(fd, F_GETFL);
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    } catch (...) {
        ::close(fd);
        throw;
    }
}

} // namespace

TcpLineClient::~TcpLineClient() {
    Close();
}

void TcpLineClient::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    received_.clear();
}

bool TcpLineClient::Stale() const {
    if (fd_ < 0) return false;
    if (!received_.empty()) return true;
    pollfd watched{fd_, POLLIN, 0};
    if (::poll(&watched, 1, 0) <= 0) return false;
    char byte = 0;
    ssize_t n = ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return n != -1 || (errno != EAGAIN && errno != EINTR);
}

void TcpLineClient::Connect(const std::string& host, int port, std::chrono::milliseconds timeout) {
    Close();
    if (port <= 0 || port > 65535) Fail("porta inválida " + std::to_string(port));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses);
    if (rc != 0) Fail("endereço não encontrado (" + std::string(::gai_strerror(rc)) + ")");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string lastFailure = "endereço não encontrado";
    for (addrinfo* address = addresses; address && fd_ < 0; address = address->ai_next) {
        try {
            fd_ = ConnectTo(*address, deadline);
        } catch (const std::runtime_error& error) {
            lastFailure = error.what();
        }
    }
    ::freeaddrinfo(addresses);
    if (fd_ < 0) Fail(lastFailure);
}

void TcpLineClient::SendLine(const std::string& line) {
    if (fd_ < 0) Fail("não conectado");
    const std::string data = line + "\n";
    std::size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(Reason(errno));
        }
        sent += static_cast<std::size_t>(n);
    }
}

std::string TcpLineClient::ReceiveLine(std::chrono::milliseconds timeout) {
    if (fd_ < 0) Fail("não conectado");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t searched = 0;
    for (;;) {
        std::size_t newline = received_.find('\n', searched);
        if (newline != std::string::npos) {
            std::string line = received_.substr(0, newline);
            received_.erase(0, newline + 1);
            return line;
        }
        searched = received_.size();
        if (received_.size() > kMaxResponseLength) Fail("resposta grande demais");
        if (!WaitFor(fd_, POLLIN, deadline))
            Fail("o servidor não respondeu em " +
                 std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) +
                 " s");
        char buffer[64 * 1024];
        ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n == 0) Fail("a conexão foi encerrada pelo servidor");
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            Fail(Reason(errno));
        }
        received_.append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace plat
