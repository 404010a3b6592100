// appserver: the application server of the payment-term screen (remote data module
// "Ger06700.rdmFormPgto"), serving JSON-RPC 2.0 requests, one per line, over TCP.
#include "net/Server.h"
#include "rdm/DemoData.h"
#include "rdm/Schema.h"
#include "storage/StorageFactory.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

namespace {

/// Splits "ADDRESS:PORT" ("[::1]:PORT" for IPv6).
std::pair<std::string, unsigned short> ParseListen(const std::string& listen) {
    auto colon = listen.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == listen.size())
        throw std::invalid_argument("--listen expects ADDRESS:PORT, got \"" + listen + "\"");
    std::string address = listen.substr(0, colon);
    if (address.size() > 2 && address.front() == '[' && address.back() == ']')
        address = address.substr(1, address.size() - 2);
    const std::string portText = listen.substr(colon + 1);
    std::size_t used = 0;
    unsigned long port = 0;
    try {
        port = std::stoul(portText, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != portText.size() || port > 65535)
        throw std::invalid_argument("--listen: \"" + portText + "\" is not a port number");
    return {address, static_cast<unsigned short>(port)};
}

/// Every client costs one descriptor: allow as many as the system lets this process have.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

/// Log lines go to standard error as "TIME LEVEL message", the message as key=value pairs.
/// The network thread and the database threads both log, so lines are written under a lock.
void SetUpLog(const std::string& level) {
    auto logger = spdlog::stderr_logger_mt("appserver");
    logger->set_pattern("%Y-%m-%dT%H:%M:%S.%f %l %v");
    logger->set_level(spdlog::level::from_str(level));
    logger->flush_on(spdlog::level::trace);
    spdlog::set_default_logger(logger);
}

std::chrono::milliseconds Milliseconds(double seconds) {
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Application server of the payment-term screen GER06700 (remote data module "
                 "\"Ger06700.rdmFormPgto\").\nSpeaks JSON-RPC 2.0 over TCP, one JSON text per "
                 "line; methods GetFormPgto, GetDiaPgto, GetVerCdForm, GetPeriodo, SetFormPgto "
                 "and SetDiaPgto.\nOnce listening it prints one line \"listening on "
                 "ADDRESS:PORT\" on standard output. SIGINT or SIGTERM stops it.",
                 "appserver"};
    std::string listen = "127.0.0.1:6700";
    std::string databaseUrl = "sqlite:ger06700.db";
    bool initDb = false;
    bool demoData = false;
    std::string logLevel = "info";
    ger::DatabaseOptions database;
    app.add_option("--listen", listen,
                   "ADDRESS:PORT to accept clients on. 6700 is the screen's usual port; 0 picks a "
                   "free one. Loopback by default; any other address requires --token-file. "
                   "The traffic is not encrypted: beyond a trusted network put a TLS "
                   "terminator in front (see the README).")
        ->capture_default_str();
    app.add_option("--db", databaseUrl,
                   "Database URL: sqlite:PATH (the file is relative to the working folder; it "
                   "must exist unless --init-db is given) or a libpq URI "
                   "postgresql://USER@HOST:PORT/DBNAME. Several servers may share one "
                   "PostgreSQL database.")
        ->capture_default_str();
    app.add_flag("--init-db", initDb,
                 "Create the database (the SQLite file, the tables FORMPGTO and DIAPGTO) or "
                 "upgrade it to this server's schema version.");
    app.add_flag("--demo-data", demoData,
                 "Add a few sample payment terms with their schedules, only when the database "
                 "holds none.");
    app.add_option("--log-level", logLevel,
                   "trace, debug, info (one line per call: method, outcome, duration), warn, "
                   "error, critical or off. Log lines go to standard error.")
        ->check(CLI::IsMember({"trace", "debug", "info", "warn", "error", "critical", "off"}))
        ->capture_default_str();
    app.add_option("--db-readers", database.readers,
                   "Database sessions serving reads, each on its own thread.")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
    app.add_option("--db-writers", database.writers,
                   "PostgreSQL connections serving writes, each on its own thread (SQLite has "
                   "one writer, which commits the changes queued meanwhile together).")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
    std::string tokenFile;
    app.add_option("--token-file", tokenFile,
                   "File whose first line is the shared secret (at least 16 characters, e.g. "
                   "from openssl rand -hex 32). Every connection must then first call "
                   "{\"method\":\"Login\",\"params\":[TOKEN]}; a missing or wrong token is "
                   "answered with error 3 and the connection is closed. Required to listen "
                   "beyond loopback.")
        ->check(CLI::ExistingFile);
    ger::ConnectionLimits limits;
    app.add_option("--max-connections", limits.maxConnections,
                   "Clients served at once; one more gets an error line and is closed.")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str();
    app.add_option("--max-buffered-bytes", limits.maxBufferedBytes,
                   "Request text held for all clients together (unfinished lines and lines "
                   "waiting their turn); the client whose bytes go beyond it gets an error line "
                   "and is closed.")
        ->check(CLI::Range(std::size_t{1024}, std::size_t{1} << 40))
        ->capture_default_str();
    app.add_option("--max-queued-requests", limits.maxQueuedRequests,
                   "Requests one client may send ahead of its answers; more in one go gets an "
                   "error line and the connection is closed.")
        ->check(CLI::Range(1, 100000))
        ->capture_default_str();
    double idleSeconds = 600, lineSeconds = 30, sendSeconds = 30;
    const auto seconds = CLI::Range(0.05, 86400.0);
    app.add_option("--idle-timeout", idleSeconds,
                   "Seconds a client may stay connected without sending a request; then it is "
                   "closed (the hosts connect again by themselves).")
        ->check(seconds)
        ->capture_default_str();
    app.add_option("--line-timeout", lineSeconds,
                   "Seconds within which a request line must be complete once its first byte "
                   "came; then the client gets an error line and is closed.")
        ->check(seconds)
        ->capture_default_str();
    app.add_option("--send-timeout", sendSeconds,
                   "Seconds a client has to take an answer; one that does not read is closed.")
        ->check(seconds)
        ->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    SetUpLog(logLevel);
    RaiseDescriptorLimit();

    try {
        auto [address, port] = ParseListen(listen);
        ger::StorageFactory storageFactory(databaseUrl);
        {
            auto storage = storageFactory.Open(initDb);
            if (initDb) ger::Schema::Create(*storage);
            ger::Schema::Require(*storage);
            if (demoData)
                spdlog::info(ger::DemoData::InsertIfEmpty(*storage)
                                 ? "demo payment terms added"
                                 : "database not empty, demo data not added");
        }
        ger::ServerOptions options;
        options.address = address;
        options.port = port;
        options.database = database;
        options.connections = limits;
        options.connections.idleTimeout = Milliseconds(idleSeconds);
        options.connections.lineTimeout = Milliseconds(lineSeconds);
        options.connections.sendTimeout = Milliseconds(sendSeconds);
        if (!tokenFile.empty()) options.token = ger::AccessToken::FromFile(tokenFile);
        ger::Server server(options, storageFactory);
        std::cout << "listening on " << address << ":" << server.Port() << std::endl;
        server.Run();
        spdlog::info("stopped");
        return 0;
    } catch (const std::exception& error) {
        spdlog::critical("{}", error.what());
        return 1;
    }
}
