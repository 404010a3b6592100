#pragma once
#include "rdm/DeltaPacket.h"
#include "storage/Storage.h"

#include <string>

namespace ger {

/// Applies a change log of payment terms (FORMPGTO), all or nothing, inside the caller's
/// write transaction or savepoint (which rolls back what was done when Apply throws).
/// Deleting a term deletes its payment days; changing a term's code moves them to the new code.
class FormPgtoDelta {
public:
    explicit FormPgtoDelta(Storage& storage) : storage_(storage) {}

    /// Applies delta or, refusing one of its changes, none of them (RpcError Refused).
    void Apply(const DeltaPacket& delta);

    /// True when a term with exactly this code is stored; the term then stays stored, as it
    /// is, until the caller's transaction ends.
    static bool TermExists(Storage& storage, const std::string& code);

private:
    Storage& storage_;
};

} // namespace ger
