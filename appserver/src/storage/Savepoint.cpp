#include "storage/Savepoint.h"

namespace ger {

Savepoint::Savepoint(Storage& storage, std::string name)
    : storage_(storage), name_(std::move(name)) {
    storage_.Execute("SAVEPOINT " + name_);
}

Savepoint::~Savepoint() {
    if (done_ || !storage_.InTransaction()) return;
    try {
        storage_.Execute("ROLLBACK TO SAVEPOINT " + name_);
        storage_.Execute("RELEASE SAVEPOINT " + name_);
    } catch (...) {
        // The failure that brought us here is on its way; the caller sees the transaction
        // state through InTransaction().
    }
}

void Savepoint::Release() {
    storage_.Execute("RELEASE SAVEPOINT " + name_);
    done_ = true;
}

} // namespace ger
