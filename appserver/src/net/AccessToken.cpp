#include "net/AccessToken.h"

#include <fstream>
#include <spdlog/spdlog.h>
#include <stdexcept>
#include <sys/stat.h>

namespace ger {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

AccessToken AccessToken::FromFile(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!file) throw std::runtime_error("cannot read the token file \"" + path + "\"");
    std::getline(file, line); // an empty file is refused below as too short a token
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        spdlog::warn("token file {} is readable by other users; chmod 600 it", path);
    try {
        return FromText(line);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error("token file \"" + path + "\": " + error.what());
    }
}

AccessToken AccessToken::FromText(std::string text) {
    text = Trimmed(text);
    if (text.size() < kMinLength)
        throw std::runtime_error("the token must have at least " + std::to_string(kMinLength) +
                                 " characters (e.g. openssl rand -hex 32)");
    return AccessToken(std::move(text));
}

bool AccessToken::Matches(std::string_view offered) const {
    // Every byte of the secret is compared whatever the guess, and the differences are
    // gathered without a branch on them.
    unsigned difference = offered.size() != secret_.size() ? 1u : 0u;
    for (std::size_t i = 0; i < secret_.size(); ++i) {
        const unsigned char guess = i < offered.size() ? offered[i] : 0;
        difference |= static_cast<unsigned char>(secret_[i]) ^ guess;
    }
    return Required() && difference == 0;
}

} // namespace ger
