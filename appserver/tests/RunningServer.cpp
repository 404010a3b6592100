#include "RunningServer.h"

#include "rdm/Schema.h"
#include "storage/PostgresStorage.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "appserver-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TestDatabase::TestDatabase() {
    const char* server = std::getenv("GER_TEST_POSTGRES");
    if (!server || !*server) {
        url_ = "sqlite:" + (folder_.path / "ger06700.db").string();
        return;
    }
    serverUrl_ = server;
    static std::atomic<int> counter{0};
    schema_ = "t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    ger::PostgresStorage(serverUrl_).Execute("CREATE SCHEMA " + schema_);
    // Every session opened by this URL works in the test's own schema.
    url_ = serverUrl_ + (serverUrl_.find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3D" + schema_;
}

TestDatabase::~TestDatabase() {
    if (schema_.empty()) return;
    try {
        ger::PostgresStorage(serverUrl_).Execute("DROP SCHEMA " + schema_ + " CASCADE");
    } catch (...) {
        // The throw-away cluster goes at the end of the run anyway.
    }
}

RunningServer::RunningServer(std::size_t maxLineLength, ger::ConnectionLimits connections,
                             ger::AccessToken token)
    : database_(std::make_shared<TestDatabase>()),
      factory_(std::make_unique<ger::StorageFactory>(database_->Url())) {
    options_.database.readers = options_.database.writers = 2;
    options_.limits.maxLineBytes = maxLineLength;
    options_.connections = connections;
    options_.token = std::move(token);
    options_.handleSignals = false;
    ger::Schema::Create(*factory_->Open(true));
    options_.port = 0;
    Start();
}

RunningServer::RunningServer(SameDatabaseAs other)
    : database_(other.server.database_),
      factory_(std::make_unique<ger::StorageFactory>(database_->Url())),
      options_(other.server.options_) {
    options_.port = 0;
    Start();
}

void RunningServer::Start() {
    server_ = std::make_unique<ger::Server>(options_, *factory_);
    options_.port = server_->Port(); // a restart takes the same port again
    thread_ = std::thread([server = server_.get()] { server->Run(); });
}

void RunningServer::Stop() {
    if (!server_) return;
    server_->Stop();
    thread_.join();
    server_.reset();
}
