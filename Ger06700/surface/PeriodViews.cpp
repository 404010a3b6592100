// The detail notebook shows one grid per period type. Changing a stored term's period type
// clears its schedule on the server, since its rows would read differently under the new
// type. In the month grid only the last row's period end may change, so that the periods
// stay contiguous; and the drop-down lists of the coded columns show only while a row is
// being edited.
#include "shared/Consiste.h"
#include "shared/Vandrel.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {

namespace {

bool Editing(plat::TDataSetState state) {
    return state == plat::TDataSetState::Edit || state == plat::TDataSetState::Insert;
}

// Sets a flag for the lifetime of the scope, whichever way the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void TfrmFormPgto::ShowPeriodTypePage() {
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    nbkDiasPgto.SetPageIndex(periodType == "M" ? 0 : periodType == "S" ? 1 : 2);
}

void TfrmFormPgto::ShowChosenPeriodTypePage(const std::string& periodType) {
    if (periodType == "M") nbkDiasPgto.SetPageIndex(0);
    if (periodType == "S") nbkDiasPgto.SetPageIndex(1);
    if (periodType == "A") nbkDiasPgto.SetPageIndex(2);
}

void TfrmFormPgto::cdsFormPgtoIDTPPERIODOChange(plat::TField&) {
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    const bool known = periodType == "S" || periodType == "M" || periodType == "A";
    // A new term has nothing stored yet; only a stored term loses its rows.
    if (cdsFormPgto.State() == plat::TDataSetState::Edit && known) {
        plat::AtualizaLocalCache(nlohmann::json::array({"DIAPGTO"}));
        if (!cdsDiaPgto.IsEmpty() && cdsDiaPgto.State() == plat::TDataSetState::Browse) {
            const FlagScope deleting(boDelete);
            cdsDiaPgto.First();
            while (!cdsDiaPgto.Eof())
                cdsDiaPgto.Delete();
        }
    }
    ShowChosenPeriodTypePage(periodType);
}

void TfrmFormPgto::cdsDiaPgtoAfterScroll(plat::TClientDataSet&) {
    if (boDelete || lookingAhead_) return;
    if (Editing(cdsDiaPgto.State())) return;
    UpdateLastRowCells();
}

void TfrmFormPgto::UpdateLastRowCells() {
    bool last = false;
    {
        // One step ahead tells whether this is the last row; the step back restores it.
        const FlagScope steppingAhead(lookingAhead_);
        cdsDiaPgto.DisableControls();
        try {
            cdsDiaPgto.Next();
            last = cdsDiaPgto.Eof();
            if (!last) cdsDiaPgto.Prior();
        } catch (...) {
            cdsDiaPgto.EnableControls();
            throw;
        }
        cdsDiaPgto.EnableControls();
    }
    for (const char* field : {"NRDIAFINPGTO", "NRDIAPGTOVAR", "NRMESFORMPGT", "NRNUMMESPGTO"})
        dbgDiaPgto.SetColumnReadOnly(plat::IndiceCol(dbgDiaPgto, field), !last);
}

void TfrmFormPgto::dtsDiaPgtoStateChange(plat::TDataSource&) {
    // A term counts as being edited while one of its day rows is.
    if (Editing(dtsDiaPgto.State()) && dtsPadrao.State() == plat::TDataSetState::Browse)
        cdsFormPgto.Edit();
    const auto style = Editing(dtsDiaPgto.State()) ? plat::TColumnButtonStyle::Auto
                                                   : plat::TColumnButtonStyle::None;
    // By the term's period type, whichever page is on show.
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    if (periodType == "M")
        dbgDiaPgto.SetColumnButtonStyle(plat::IndiceCol(dbgDiaPgto, "NRMESFORMPGT"), style);
    if (periodType == "S")
        dbgDiaSemana.SetColumnButtonStyle(plat::IndiceCol(dbgDiaSemana, "NRDIAPGTOVAR"), style);
    if (periodType == "A") {
        dbgSemanaMes.SetColumnButtonStyle(plat::IndiceCol(dbgSemanaMes, "NRDIAPGTOVAR"), style);
        dbgSemanaMes.SetColumnButtonStyle(plat::IndiceCol(dbgSemanaMes, "NRMESFORMPGT"), style);
    }
    HabilitaBotao();
}

void TfrmFormPgto::AddPeriodViewHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsFormPgtoIDTPPERIODOChange", this,
                &TfrmFormPgto::cdsFormPgtoIDTPPERIODOChange);
    BindHandler(table, "cdsDiaPgtoAfterScroll", this, &TfrmFormPgto::cdsDiaPgtoAfterScroll);
    BindHandler(table, "dtsDiaPgtoStateChange", this, &TfrmFormPgto::dtsDiaPgtoStateChange);
}

} // namespace ger06700
