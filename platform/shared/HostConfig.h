#pragma once
#include <string>

namespace plat {

/// The host's configuration, read afresh at every lookup so a change shows at the next
/// connect. Priority, highest first: in-process overrides (the host's command line),
/// environment variables, the configuration file, built-in defaults.
///
/// Keys, with their environment variable and default:
///   server.host  GER06700_SERVER_HOST  127.0.0.1
///   server.port  GER06700_SERVER_PORT  6700
///   server.token-file  GER06700_SERVER_TOKEN_FILE  (none: the server asks no login)
///   db           GER06700_DB           sqlite:ger06700.db
///
/// The file is GER06700_CONFIG, else $XDG_CONFIG_HOME/ger06700/host.conf, else
/// $HOME/.config/ger06700/host.conf; it holds "key = value" lines and "#" comments, and a
/// missing file counts as empty.
class HostConfig {
public:
    HostConfig() = delete;

    /// Host name or address of the application server.
    static std::string ServerHost();
    /// TCP port of the application server; throws std::runtime_error naming the source of a
    /// value that is no port number.
    static int ServerPort();
    /// The secret the connection logs in to the server with: the first line of the file named
    /// by server.token-file, without surrounding blanks; empty when no file is named. Throws
    /// std::runtime_error naming the file when it cannot be read or holds no token.
    static std::string ServerToken();
    /// URL of the database the host reads directly ("sqlite:PATH").
    static std::string DatabaseUrl();
    /// The configuration file consulted (it need not exist); empty when none can be named.
    static std::string ConfigFilePath();

    /// Sets key ("server.host", "server.port", "server.token-file" or "db") for this process, above
    /// every other source; throws std::invalid_argument for another key.
    static void SetOverride(const std::string& key, const std::string& value);
    /// Removes every override.
    static void ClearOverrides();
};

} // namespace plat
