#pragma once
#include "storage/Storage.h"

#include <string>

namespace ger {

/// A savepoint inside an open transaction: released by Release(), rolled back to on
/// destruction otherwise, so one failed change undoes only itself and the transaction goes on.
class Savepoint {
public:
    Savepoint(Storage& storage, std::string name);
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    ~Savepoint();

    void Release();

private:
    Storage& storage_;
    std::string name_;
    bool done_ = false;
};

} // namespace ger
