#pragma once
#include "storage/Storage.h"

namespace ger {

/// One write transaction: begun on construction, rolled back on destruction unless Commit()
/// ran, so a failure anywhere in between leaves the database as it was.
class Transaction {
public:
    explicit Transaction(Storage& storage);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    void Commit();

private:
    Storage& storage_;
    bool done_ = false;
};

} // namespace ger
