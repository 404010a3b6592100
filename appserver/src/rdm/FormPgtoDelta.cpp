#include "rdm/FormPgtoDelta.h"

#include "rdm/DeltaMessages.h"
#include "rdm/RowValidator.h"
#include "rdm/TableWriter.h"
#include "rpc/RpcError.h"

namespace ger {
bool FormPgtoDelta::TermExists(Storage& storage, const std::string& code) {
    // Locked so that a term a day row is stored for cannot go before the row's commit.
    const SqlDialect& dialect = storage.Dialect();
    return !storage
                .Query(dialect.Bind("SELECT 1 FROM FORMPGTO WHERE CDFORMPGTO = ?" +
                                    dialect.LockForShare()),
                       {code})
                .empty();
}

void FormPgtoDelta::Apply(const DeltaPacket& delta) {
    const RowValidator validator(FormPgtoTable());
    const SqlDialect& dialect = storage_.Dialect();
    TableWriter terms(storage_, FormPgtoTable());
    // Every value is checked before the first statement runs: a refused delta costs the
    // database nothing.
    for (const DeltaChange& change : delta.changes)
        validator.CheckChange(change);

    for (const DeltaChange& change : delta.changes) {
        switch (change.op) {
        case DeltaOp::Insert:
            if (TermExists(storage_, TermCodeOf(change.newRow)))
                throw RpcError(RpcError::Refused, kTermAlreadyExists);
            terms.Insert(change.newRow);
            break;
        case DeltaOp::Update: {
            auto rowId = terms.FindRowId(change.oldRow);
            if (!rowId) throw RpcError(RpcError::Refused, kChangedByAnotherUser);
            const std::string oldCode = TermCodeOf(change.oldRow);
            const std::string newCode = TermCodeOf(change.newRow);
            if (newCode != oldCode && TermExists(storage_, newCode))
                throw RpcError(RpcError::Refused, kTermAlreadyExists);
            terms.Update(*rowId, change.newRow);
            if (newCode != oldCode)
                storage_.Execute(
                    dialect.Bind("UPDATE DIAPGTO SET CDFORMPGTO = ? WHERE CDFORMPGTO = ?"),
                    {newCode, oldCode});
            break;
        }
        case DeltaOp::Delete: {
            auto rowId = terms.FindRowId(change.oldRow);
            if (!rowId) throw RpcError(RpcError::Refused, kChangedByAnotherUser);
            terms.Delete(*rowId);
            storage_.Execute(dialect.Bind("DELETE FROM DIAPGTO WHERE CDFORMPGTO = ?"),
                             {TermCodeOf(change.oldRow)});
            break;
        }
        }
    }
}

} // namespace ger
