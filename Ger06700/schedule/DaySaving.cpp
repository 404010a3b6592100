// The life of one day row: whether a new one may start, what it starts with, and how every
// stored row and every deletion goes to the server at once, one SetDiaPgto each. What the
// server refuses is undone on the screen, so it never shows a change the server did not take.
#include "shared/Vandrel.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

#include <algorithm>
#include <charconv>

namespace ger06700 {

namespace {

// The day a two-digit code stands for; 0 for none.
int DayNumber(const std::string& code) {
    int day = 0;
    std::from_chars(code.data(), code.data() + code.size(), day);
    return day;
}

} // namespace

void TfrmFormPgto::SendDiaPgtoChanges() {
    CallServer("SetDiaPgto", nlohmann::json::array({cdsDiaPgto.Delta()}));
    cdsDiaPgto.MergeChangeLog();
    plat::AtualizaLocalCache(nlohmann::json::array({"DIAPGTO"}));
}

void TfrmFormPgto::cdsDiaPgtoBeforeInsert(plat::TClientDataSet&) {
    if (stMaxDiaFin.empty()) stMaxDiaFin = "00";
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    const int lastDay = periodType == "M" || periodType == "A" ? 31 : 7;
    // A schedule that reaches the end of the month or week takes no further row.
    if (DayNumber(stMaxDiaFin) + 1 > lastDay) plat::Abort();
}

void TfrmFormPgto::cdsDiaPgtoAfterInsert(plat::TClientDataSet&) {
    if (cdsDiaPgto.RecordCount() == 0) cdsDiaPgtoNRDIAINIPGTO.SetAsString("01");
    cdsDiaPgtoNRDIAFINPGTO.FocusControl();
}

void TfrmFormPgto::cdsDiaPgtoBeforePost(plat::TClientDataSet&) {
    cdsDiaPgtoCDFORMPGTO.SetAsString(cdsFormPgtoCDFORMPGTO.AsString());
    // The same check reads the initial and then the final day, by the column selected.
    cdsDiaPgtoNRDIAINIPGTO.FocusControl();
    Vd_DiaFinal(true);
    cdsDiaPgtoNRDIAFINPGTO.FocusControl();
    Vd_DiaFinal(true);
    Vd_MesPgto(true);
    if (nbkDiasPgto.PageIndex() == 0 || nbkDiasPgto.PageIndex() == 2) Vd_NumMes(true);
    Vd_DiaPgto(true);
}

void TfrmFormPgto::cdsDiaPgtoAfterPost(plat::TClientDataSet&) {
    // The guard against a full schedule keeps the highest final day known: confirming an
    // unchanged early row must not lower it, and a refused row must not raise it, or a full
    // month would take another row and a refused row would block its own retry.
    const std::string former = stMaxDiaFin;
    const std::string postedStart = cdsDiaPgtoNRDIAINIPGTO.AsString();
    stMaxDiaFin = std::max(former, cdsDiaPgtoNRDIAFINPGTO.AsString());
    if (cdsDiaPgto.ChangeCount() == 0) return;
    bool suspended = false;
    try {
        CallServer("SetDiaPgto", nlohmann::json::array({cdsDiaPgto.Delta()}));
        cdsDiaPgto.MergeChangeLog();
        cdsFormPgto.DisableControls();
        suspended = true;
        stFormPgto = cdsFormPgtoCDFORMPGTO.AsString();
        plat::AtualizaLocalCache(nlohmann::json::array({"DIAPGTO"}));
        cdsFormPgto.Locate("CDFORMPGTO", stFormPgto, true);
        suspended = false;
        cdsFormPgto.EnableControls();
    } catch (...) {
        if (suspended) cdsFormPgto.EnableControls();
        cdsDiaPgto.CancelUpdates();
        stMaxDiaFin = former;
        throw;
    }
    // The term's rows were read again: the row just stored stays the current one, so a user
    // moving on from it keeps his place.
    cdsDiaPgto.Locate("NRDIAINIPGTO", postedStart, false);
}

void TfrmFormPgto::cdsDiaPgtoAfterDelete(plat::TClientDataSet&) {
    try {
        SendDiaPgtoChanges();
    } catch (...) {
        // The row comes back and the list is read afresh, showing the other user's change;
        // the term the user was working on stays current.
        const std::string term = cdsFormPgtoCDFORMPGTO.AsString();
        cdsDiaPgto.CancelUpdates();
        sbtVerificarClick(sbtVerificar);
        cdsFormPgto.Locate("CDFORMPGTO", term, true);
        throw;
    }
    stMaxDiaFin = cdsDiaPgtoNRDIAFINPGTO.AsString();
    if (dtsPadrao.State() == plat::TDataSetState::Browse) cdsFormPgto.Edit();
    if ((dbgDiaPgto.Focused() || dbgDiaSemana.Focused() || dbgSemanaMes.Focused()) &&
        !cdsDiaPgto.IsEmpty())
        cdsDiaPgto.Edit();
}

void TfrmFormPgto::AddDaySavingHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsDiaPgtoBeforeInsert", this, &TfrmFormPgto::cdsDiaPgtoBeforeInsert);
    BindHandler(table, "cdsDiaPgtoAfterInsert", this, &TfrmFormPgto::cdsDiaPgtoAfterInsert);
    BindHandler(table, "cdsDiaPgtoBeforePost", this, &TfrmFormPgto::cdsDiaPgtoBeforePost);
    BindHandler(table, "cdsDiaPgtoAfterPost", this, &TfrmFormPgto::cdsDiaPgtoAfterPost);
    BindHandler(table, "cdsDiaPgtoAfterDelete", this, &TfrmFormPgto::cdsDiaPgtoAfterDelete);
}

} // namespace ger06700
