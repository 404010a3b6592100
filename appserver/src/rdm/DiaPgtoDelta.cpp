#include "rdm/DiaPgtoDelta.h"

#include "rdm/DeltaMessages.h"
#include "rdm/FormPgtoDelta.h"
#include "rdm/RowValidator.h"
#include "rdm/TableWriter.h"
#include "rpc/RpcError.h"

namespace ger {
namespace {

[[noreturn]] void RefuseMissingTerm(const std::string& code) {
    throw RpcError(RpcError::Refused,
                   "Forma de pagamento \"" + code + "\" não cadastrada (campo CDFORMPGTO).");
}

} // namespace

void DiaPgtoDelta::Apply(const DeltaPacket& delta) {
    const RowValidator validator(DiaPgtoTable());
    TableWriter days(storage_, DiaPgtoTable());
    // Every value is checked before the first statement runs: a refused delta costs the
    // database nothing.
    for (const DeltaChange& change : delta.changes)
        validator.CheckChange(change);

    for (const DeltaChange& change : delta.changes) {
        switch (change.op) {
        case DeltaOp::Insert:
            if (!FormPgtoDelta::TermExists(storage_, TermCodeOf(change.newRow)))
                RefuseMissingTerm(TermCodeOf(change.newRow));
            days.Insert(change.newRow);
            break;
        case DeltaOp::Update: {
            auto rowId = days.FindRowId(change.oldRow);
            if (!rowId) throw RpcError(RpcError::Refused, kChangedByAnotherUser);
            // A row that keeps its term keeps it even if the term is gone (legacy data):
            // only a move to another term must land on a stored one.
            const std::string newCode = TermCodeOf(change.newRow);
            if (newCode != TermCodeOf(change.oldRow) &&
                !FormPgtoDelta::TermExists(storage_, newCode))
                RefuseMissingTerm(newCode);
            days.Update(*rowId, change.newRow);
            break;
        }
        case DeltaOp::Delete: {
            auto rowId = days.FindRowId(change.oldRow);
            if (!rowId) throw RpcError(RpcError::Refused, kChangedByAnotherUser);
            days.Delete(*rowId);
            break;
        }
        }
    }
}

} // namespace ger
