#pragma once
#include <chrono>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace ger {

/// The lines a connection answers by itself, about the connection rather than a call: a
/// refused login, a limit reached. Each is one JSON-RPC response, without its newline.
namespace ConnectionReplies {

std::string TooManyConnections(std::size_t limit);
/// The request text held for all clients together reached its bound.
std::string ServerFull();
std::string TooManyQueued(std::size_t limit);
std::string LineTimeout(std::chrono::milliseconds limit);
std::string LoginRequired(const nlohmann::json& id);
std::string WrongToken(const nlohmann::json& id);
std::string LoggedIn(const nlohmann::json& id);

} // namespace ConnectionReplies
} // namespace ger
