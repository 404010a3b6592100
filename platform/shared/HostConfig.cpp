#include "shared/HostConfig.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>

namespace plat {

namespace {

struct Setting {
    const char* key;
    const char* environment;
    const char* fallback;
};

constexpr Setting kServerHost{"server.host", "GER06700_SERVER_HOST", "127.0.0.1"};
constexpr Setting kServerPort{"server.port", "GER06700_SERVER_PORT", "6700"};
constexpr Setting kServerTokenFile{"server.token-file", "GER06700_SERVER_TOKEN_FILE", ""};
constexpr Setting kDatabase{"db", "GER06700_DB", "sqlite:ger06700.db"};
constexpr Setting kSettings[] = {kServerHost, kServerPort, kServerTokenFile, kDatabase};

std::map<std::string, std::string>& Overrides() {
    static std::map<std::string, std::string> overrides;
    return overrides;
}

// An environment variable set to the empty text counts as not set.
std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

// A "#" starts a comment at the start of a line or after a blank, so a value may hold one.
std::string WithoutComment(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The value of key in the configuration file, or nothing when the file or the key is absent.
std::optional<std::string> FromFile(const std::string& key, std::string& path) {
    path = HostConfig::ConfigFilePath();
    if (path.empty() || !std::filesystem::exists(path)) return std::nullopt;
    std::ifstream file(path);
    if (!file) throw std::runtime_error("Não foi possível ler a configuração '" + path + "'.");
    std::optional<std::string> found;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::string content = Trim(WithoutComment(line));
        if (content.empty()) continue;
        const std::size_t equals = content.find('=');
        if (equals == std::string::npos)
            throw std::runtime_error("Configuração '" + path + "', linha " +
                                     std::to_string(number) + ": esperado 'chave = valor'.");
        if (Trim(content.substr(0, equals)) == key) found = Trim(content.substr(equals + 1));
    }
    return found; // the last line for a key wins, as in most configuration files
}

struct Lookup {
    std::string value;
    std::string source; // where the value came from, for error messages
};

Lookup Get(const Setting& setting) {
    if (auto it = Overrides().find(setting.key); it != Overrides().end())
        return {it->second, std::string("opção '") + setting.key + "'"};
    if (auto value = Environment(setting.environment))
        return {*value, std::string("variável ") + setting.environment};
    std::string path;
    if (auto value = FromFile(setting.key, path))
        return {*value, "'" + std::string(setting.key) + "' em " + path};
    return {setting.fallback, "padrão"};
}

} // namespace

std::string HostConfig::ServerHost() {
    return Get(kServerHost).value;
}

int HostConfig::ServerPort() {
    const Lookup lookup = Get(kServerPort);
    const std::string text = Trim(lookup.value);
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || port < 1 ||
        port > 65535)
        throw std::runtime_error("Porta do servidor inválida (" + lookup.source + "): '" +
                                 lookup.value + "'; use um número de 1 a 65535.");
    return port;
}

std::string HostConfig::ServerToken() {
    const Lookup lookup = Get(kServerTokenFile);
    const std::string path = Trim(lookup.value);
    if (path.empty()) return {};
    std::ifstream file(path);
    std::string token;
    if (file) std::getline(file, token);
    token = Trim(token);
    if (token.empty())
        throw std::runtime_error("Não foi possível ler o código de acesso ao servidor em '" + path +
                                 "' (" + lookup.source + ").");
    return token;
}

std::string HostConfig::DatabaseUrl() {
    return Get(kDatabase).value;
}

std::string HostConfig::ConfigFilePath() {
    if (auto path = Environment("GER06700_CONFIG")) return *path;
    // XDG asks to ignore a relative XDG_CONFIG_HOME.
    if (auto base = Environment("XDG_CONFIG_HOME"); base && base->front() == '/')
        return *base + "/ger06700/host.conf";
    if (auto home = Environment("HOME")) return *home + "/.config/ger06700/host.conf";
    return {};
}

void HostConfig::SetOverride(const std::string& key, const std::string& value) {
    for (const Setting& setting : kSettings) {
        if (key == setting.key) {
            Overrides()[key] = value;
            return;
        }
    }
    throw std::invalid_argument("Chave de configuração desconhecida: '" + key +
                                "' (use server.host, server.port, server.token-file ou db).");
}

void HostConfig::ClearOverrides() {
    Overrides().clear();
}

} // namespace plat
