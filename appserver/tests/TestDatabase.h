#pragma once
#include "TempFolder.h"

#include <memory>
#include <string>

/// A fresh, empty database for one test, on the backend the suite runs on: an SQLite file in
/// a temporary folder, or, when GER_TEST_POSTGRES holds the URL of a PostgreSQL server, a
/// schema of its own on that server (dropped at the end).
class TestDatabase {
public:
    TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;
    ~TestDatabase();

    /// The URL servers and hosts open it by.
    const std::string& Url() const { return url_; }
    bool IsPostgres() const { return !schema_.empty(); }

private:
    TempFolder folder_;
    std::string serverUrl_;
    std::string schema_;
    std::string url_;
};
