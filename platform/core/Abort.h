#pragma once
#include <stdexcept>

namespace plat {

/// The silent abort: ends the operation in progress without telling the user anything.
struct EAbort : std::exception {
    const char* what() const noexcept override { return "Operação abortada."; }
};

/// Raises the silent abort.
[[noreturn]] void Abort();

/// A failure of the dataset framework; its message is written for the user.
struct EDatabaseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace plat
