#include "RunningServer.h"

#include "rdm/Schema.h"

RunningServer::RunningServer(std::size_t maxLineLength) : maxLineLength_(maxLineLength) {
    factory_ = std::make_unique<ger::StorageFactory>("sqlite:" +
                                                     (folder_.Path() / "ger06700.db").string());
    ger::Schema::Create(*factory_->Open(true));
    Start(0);
}

RunningServer::~RunningServer() {
    Stop();
}

void RunningServer::Start(unsigned short port) {
    ger::ServerOptions options;
    options.port = port;
    options.threads = 3;
    options.maxLineLength = maxLineLength_;
    options.handleSignals = false;
    server_ = std::make_unique<ger::Server>(options, *factory_);
    port_ = server_->Port();
    thread_ = std::thread([server = server_.get()] { server->Run(); });
}

void RunningServer::Stop() {
    if (!server_) return;
    server_->Stop();
    thread_.join();
    server_.reset();
}

void RunningServer::Restart() {
    Stop();
    Start(port_);
}
