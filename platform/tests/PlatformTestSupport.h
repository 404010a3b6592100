#pragma once
// Helpers of the platform tests that need no form: a temporary folder and error messages.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

namespace plat::test {

/// A folder of its own under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "plat-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    /// The path of name inside the folder.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    /// Writes content to the file name inside the folder and returns its path.
    std::string Write(const std::string& name, const std::string& content) const {
        std::ofstream(File(name), std::ios::binary) << content;
        return File(name);
    }

private:
    std::filesystem::path path_;
};

/// The message of the error of type E that action raises; empty when it raises none.
template <class E = std::runtime_error> std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

/// Whether action raises an error of type E whose message holds part.
template <class E = std::runtime_error>
bool Says(const std::function<void()>& action, const std::string& part) {
    const std::string error = ErrorOf<E>(action);
    return !error.empty() && error.find(part) != std::string::npos;
}

} // namespace plat::test
