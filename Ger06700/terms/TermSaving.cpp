// Every payment term posted or deleted goes to the server at once, one SetFormPgto per
// change. What the server takes is merged; what it refuses is dropped, so the list never
// shows a change the server does not hold.
#include "shared/Consiste.h"
#include "shared/Showavi.h"
#include "shared/Vandrel.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {

void TfrmFormPgto::cdsFormPgtoBeforeInsert(plat::TClientDataSet&) {
    dbgPadrao.SetSelectedIndex(plat::IndiceCol(dbgPadrao, "CDFORMPGTO"));
}

void TfrmFormPgto::cdsFormPgtoNewRecord(plat::TClientDataSet&) {
    cdsFormPgtoIDTPPERIODO.SetAsString("M");
}

void TfrmFormPgto::cdsFormPgtoBeforePost(plat::TClientDataSet&) {
    if (cdsFormPgto.State() == plat::TDataSetState::Insert) Vd_CodForm(true);
    Vd_Periodo(true);
    Vd_DescForm(true);
    Vd_DtReferencia(true);
    Vd_ConsideraDiasUteis(true);
    Vd_DataBase(true);
}

void TfrmFormPgto::cdsFormPgtoAfterPost(plat::TClientDataSet&) {
    if (cdsFormPgto.ChangeCount() == 0) return;
    try {
        plat::ActiveShowAvi(nullptr, 1);
        CallServer("SetFormPgto", nlohmann::json::array({cdsFormPgto.Delta()}));
        cdsFormPgto.MergeChangeLog();
        cdsFormPgto.DisableControls();
        stFormPgto = cdsFormPgtoCDFORMPGTO.AsString();
        cdsFormPgto.EnableControls();
        plat::DeactiveShowAvi();
        // Finding the term again re-reads its day rows, which would drop a day row being
        // typed (the header is stored first when both are confirmed); the posted term is
        // the current one already, so it is found again only when no day row is open.
        if (!DayRowBeingEdited()) cdsFormPgto.Locate("CDFORMPGTO", stFormPgto, true);
        plat::AtualizaLocalCache(nlohmann::json::array({"FORMPGTO"}));
    } catch (...) {
        plat::DeactiveShowAvi();
        cdsFormPgto.CancelUpdates();
        throw;
    }
}

void TfrmFormPgto::cdsFormPgtoAfterDelete(plat::TClientDataSet&) {
    if (cdsFormPgto.ChangeCount() == 0) return;
    try {
        CallServer("SetFormPgto", nlohmann::json::array({cdsFormPgto.Delta()}));
        cdsFormPgto.MergeChangeLog();
        plat::AtualizaLocalCache(nlohmann::json::array({"FORMPGTO"}));
    } catch (...) {
        // The term comes back and the list is read afresh: the other user's change shows.
        cdsFormPgto.CancelUpdates();
        sbtVerificarClick(sbtVerificar);
        throw;
    }
}

void TfrmFormPgto::cdsFormPgtoAfterCancel(plat::TClientDataSet&) {
    cdsFormPgto.CancelUpdates();
    if (DayRowBeingEdited()) cdsDiaPgto.Cancel();
    cdsFormPgtoAfterScroll(cdsFormPgto);
}

bool TfrmFormPgto::TermBeingEdited() const {
    return dtsPadrao.State() == plat::TDataSetState::Edit ||
           dtsPadrao.State() == plat::TDataSetState::Insert;
}

bool TfrmFormPgto::DayRowBeingEdited() const {
    return dtsDiaPgto.State() == plat::TDataSetState::Edit ||
           dtsDiaPgto.State() == plat::TDataSetState::Insert;
}

void TfrmFormPgto::AddTermSavingHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsFormPgtoBeforeInsert", this, &TfrmFormPgto::cdsFormPgtoBeforeInsert);
    BindHandler(table, "cdsFormPgtoNewRecord", this, &TfrmFormPgto::cdsFormPgtoNewRecord);
    BindHandler(table, "cdsFormPgtoBeforePost", this, &TfrmFormPgto::cdsFormPgtoBeforePost);
    BindHandler(table, "cdsFormPgtoAfterPost", this, &TfrmFormPgto::cdsFormPgtoAfterPost);
    BindHandler(table, "cdsFormPgtoAfterDelete", this, &TfrmFormPgto::cdsFormPgtoAfterDelete);
    BindHandler(table, "cdsFormPgtoAfterCancel", this, &TfrmFormPgto::cdsFormPgtoAfterCancel);
}

} // namespace ger06700
