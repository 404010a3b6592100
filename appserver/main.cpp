// appserver: the application server of the payment-term screen (remote data module
// "Ger06700.rdmFormPgto"), serving JSON-RPC 2.0 requests, one per line, over TCP.
#include "net/Server.h"
#include "rdm/DemoData.h"
#include "rdm/Schema.h"
#include "storage/StorageFactory.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>
#include <string>

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
    app.add_option("--listen", listen,
                   "ADDRESS:PORT to accept clients on. 6700 is the screen's usual port; 0 picks a "
                   "free one. Loopback by default: the protocol has no authentication, so only "
                   "listen beyond this machine on a trusted network.")
        ->capture_default_str();
    app.add_option("--db", databaseUrl,
                   "Database URL: sqlite:PATH (the file is relative to the working folder). "
                   "The file must exist unless --init-db is given.")
        ->capture_default_str();
    app.add_flag("--init-db", initDb,
                 "Create the database file and the tables FORMPGTO and DIAPGTO if missing.");
    app.add_flag("--demo-data", demoData,
                 "Add a few sample payment terms with their schedules, only when the database "
                 "holds none.");
    CLI11_PARSE(app, argc, argv);

    try {
        auto [address, port] = ParseListen(listen);
        ger::StorageFactory storageFactory(databaseUrl);
        {
            auto storage = storageFactory.Open(initDb);
            if (initDb) ger::Schema::Create(*storage);
            ger::Schema::Require(*storage);
            if (demoData)
                std::cerr << (ger::DemoData::InsertIfEmpty(*storage)
                                  ? "appserver: demo payment terms added\n"
                                  : "appserver: database not empty, demo data not added\n");
        }
        ger::ServerOptions options;
        options.address = address;
        options.port = port;
        ger::Server server(options, storageFactory);
        std::cout << "listening on " << address << ":" << server.Port() << std::endl;
        server.Run();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "appserver: " << error.what() << std::endl;
        return 1;
    }
}
