// Every day row the screen deletes goes to the server at once, one SetDiaPgto per row; what
// the server refuses is undone on the screen, so it never shows a change the server did not
// take.
#include "shared/Vandrel.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"

namespace ger06700 {

void TfrmFormPgto::SendDiaPgtoChanges() {
    CallServer("SetDiaPgto", nlohmann::json::array({cdsDiaPgto.Delta()}));
    cdsDiaPgto.MergeChangeLog();
    plat::AtualizaLocalCache(nlohmann::json::array({"DIAPGTO"}));
}

void TfrmFormPgto::cdsDiaPgtoAfterDelete(plat::TClientDataSet&) {
    try {
        SendDiaPgtoChanges();
    } catch (...) {
        // The row comes back and the list is read afresh: the other user's change shows.
        cdsDiaPgto.CancelUpdates();
        sbtVerificarClick(sbtVerificar);
        throw;
    }
    stMaxDiaFin = cdsDiaPgtoNRDIAFINPGTO.AsString();
    if (dtsPadrao.State() == plat::TDataSetState::Browse) cdsFormPgto.Edit();
    if ((dbgDiaPgto.Focused() || dbgDiaSemana.Focused() || dbgSemanaMes.Focused()) &&
        !cdsDiaPgto.IsEmpty())
        cdsDiaPgto.Edit();
}

void TfrmFormPgto::AddDaySavingHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsDiaPgtoAfterDelete", this, &TfrmFormPgto::cdsDiaPgtoAfterDelete);
}

} // namespace ger06700
