#pragma once
#include "rdm/DeltaPacket.h"
#include "storage/Storage.h"

namespace ger {

/// Applies a change log of payment-day rows (DIAPGTO), all or nothing, inside the caller's
/// write transaction or savepoint (which rolls back what was done when Apply throws).
/// Every row stored must belong to a stored term.
class DiaPgtoDelta {
public:
    explicit DiaPgtoDelta(Storage& storage) : storage_(storage) {}

    /// Applies delta or, refusing one of its changes, none of them (RpcError Refused).
    void Apply(const DeltaPacket& delta);

private:
    Storage& storage_;
};

} // namespace ger
