#include "storage/Transaction.h"

namespace ger {

Transaction::Transaction(Storage& storage) : storage_(storage) {
    storage_.BeginWrite();
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        storage_.Rollback();
    } catch (...) {
        // The failure that brought us here is already on its way; a failed rollback of a
        // transaction the engine has already ended adds nothing to it.
    }
}

void Transaction::Commit() {
    storage_.Commit();
    done_ = true;
}

} // namespace ger
