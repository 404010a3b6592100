#include "RpcClient.h"

#include <gtest/gtest.h>
#include <poll.h>

RpcClient::RpcClient(unsigned short port, int receiveBuffer) : socket_(io_) {
    socket_.open(asio::ip::tcp::v4());
    if (receiveBuffer > 0)
        socket_.set_option(asio::socket_base::receive_buffer_size(receiveBuffer));
    socket_.connect({asio::ip::make_address("127.0.0.1"), port});
    socket_.set_option(asio::ip::tcp::no_delay(true));
}

void RpcClient::Write(const std::string& bytes) {
    asio::write(socket_, asio::buffer(bytes));
}

bool RpcClient::TryWrite(const std::string& bytes) {
    asio::error_code error;
    asio::write(socket_, asio::buffer(bytes), error);
    return !error;
}

std::string RpcClient::ReadLine() {
    asio::error_code error;
    std::size_t length = asio::read_until(socket_, asio::dynamic_buffer(buffer_), '\n', error);
    if (error) return {};
    std::string line = buffer_.substr(0, length - 1);
    buffer_.erase(0, length);
    return line;
}

bool RpcClient::WaitReadable(std::chrono::milliseconds timeout) {
    if (buffer_.find('\n') != std::string::npos) return true;
    pollfd watched{socket_.native_handle(), POLLIN, 0};
    return ::poll(&watched, 1, static_cast<int>(timeout.count())) > 0;
}

nlohmann::json RpcClient::SendLine(const std::string& line) {
    Write(line + "\n");
    std::string answer = ReadLine();
    if (answer.empty()) return nullptr;
    return nlohmann::json::parse(answer);
}

std::string RequestLine(const std::string& method, const nlohmann::json& params, int id) {
    return nlohmann::json{{"jsonrpc", "2.0"},
                          {"id", id},
                          {"method", "Ger06700.rdmFormPgto." + method},
                          {"params", params}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json RpcClient::Call(const std::string& method, const nlohmann::json& params) {
    nlohmann::json response = SendLine(RequestLine(method, params, ++lastId_));
    if (!response.is_object()) {
        ADD_FAILURE() << method << ": the server closed the connection";
        return nlohmann::json::object();
    }
    EXPECT_EQ(response.value("id", nlohmann::json()), lastId_) << response.dump();
    return response;
}

nlohmann::json RpcClient::Result(const std::string& method, const nlohmann::json& params) {
    nlohmann::json response = Call(method, params);
    EXPECT_TRUE(response.contains("result")) << method << ": " << response.dump();
    return response.value("result", nlohmann::json());
}

nlohmann::json RpcClient::Error(const std::string& method, const nlohmann::json& params) {
    nlohmann::json response = Call(method, params);
    EXPECT_TRUE(response.contains("error")) << method << ": " << response.dump();
    return response.value("error", nlohmann::json::object());
}
