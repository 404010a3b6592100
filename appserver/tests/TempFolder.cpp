#include "TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "appserver-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
