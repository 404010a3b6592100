#pragma once
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "appserver-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

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
