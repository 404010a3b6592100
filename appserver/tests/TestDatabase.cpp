#include "TestDatabase.h"

#include "storage/PostgresStorage.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace {

std::string PostgresServerUrl() {
    const char* url = std::getenv("GER_TEST_POSTGRES");
    return url ? url : "";
}

} // namespace

TestDatabase::TestDatabase() : serverUrl_(PostgresServerUrl()) {
    if (serverUrl_.empty()) {
        url_ = "sqlite:" + (folder_.Path() / "ger06700.db").string();
        return;
    }
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
