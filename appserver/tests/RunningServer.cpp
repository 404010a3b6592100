#include "RunningServer.h"

#include "rdm/Schema.h"

RunningServer::RunningServer(std::size_t maxLineLength, ger::ConnectionLimits connections,
                             ger::AccessToken token)
    : database_(std::make_shared<TestDatabase>()),
      factory_(std::make_unique<ger::StorageFactory>(database_->Url())),
      maxLineLength_(maxLineLength), connections_(connections), token_(std::move(token)) {
    ger::Schema::Create(*factory_->Open(true));
    Start(0);
}

RunningServer::RunningServer(SameDatabaseAs other)
    : database_(other.server.database_),
      factory_(std::make_unique<ger::StorageFactory>(database_->Url())),
      maxLineLength_(other.server.maxLineLength_), connections_(other.server.connections_),
      token_(other.server.token_) {
    Start(0);
}

RunningServer::~RunningServer() {
    Stop();
}

void RunningServer::Start(unsigned short port) {
    ger::ServerOptions options;
    options.port = port;
    options.database.readers = 2;
    options.database.writers = 2;
    options.limits.maxLineBytes = maxLineLength_;
    options.connections = connections_;
    options.token = token_;
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
