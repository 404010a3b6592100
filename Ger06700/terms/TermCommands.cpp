// The insert, confirm, cancel and delete commands. The screen has one set of buttons for the
// payment term and its day row, so confirm, cancel and delete act on both.
#include "shared/Consiste.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {

namespace {

bool Confirmed(const plat::TMessages& catalogue, const char* key) {
    return catalogue.ShowMsg(key, plat::TMsgDlgType::Confirmation,
                             {plat::TMsgDlgBtn::Yes, plat::TMsgDlgBtn::No},
                             0) == plat::TModalResult::Yes;
}

} // namespace

void TfrmFormPgto::sbtIncluirClick(plat::TControl& sender) {
    plat::TfrmPadraoGrid::sbtIncluirClick(sender);
    // The day grids get the initial-day column ready without being entered: entering one
    // would store the new term at once and report its missing code on every insert. The
    // user stays on the new term's code.
    for (plat::TDBGrid* grid : {&dbgDiaPgto, &dbgDiaSemana, &dbgSemanaMes})
        grid->SetSelectedIndex(plat::IndiceCol(*grid, "NRDIAINIPGTO"));
    RequestFocus(dbgPadrao);
}

void TfrmFormPgto::sbtConfirmarClick(plat::TControl&) {
    // Every check before anything is stored; the period type is checked by the post itself.
    if (TermBeingEdited()) {
        if (cdsFormPgto.State() == plat::TDataSetState::Insert) Vd_CodForm(true);
        Vd_DescForm(true);
        Vd_DataBase(true);
        Vd_DtReferencia(true);
        Vd_ConsideraDiasUteis(true);
    }
    if (DayRowBeingEdited()) {
        Vd_DiaFinal(true);
        Vd_MesPgto(true);
        Vd_DiaPgto(true);
        Vd_Periodos("NRDIAINIPGTO", cdsDiaPgtoNRDIAINIPGTO.AsString());
        Vd_Periodos("NRDIAFINPGTO", cdsDiaPgtoNRDIAFINPGTO.AsString());
        if (nbkDiasPgto.PageIndex() == 0 || nbkDiasPgto.PageIndex() == 2) Vd_NumMes(true);
    }
    if (TermBeingEdited()) {
        cdsFormPgtoNMFORMPGTO.SetAsString(plat::GridText(dbgPadrao, "NMFORMPGTO", false));
        cdsFormPgto.Post();
    }
    if (DayRowBeingEdited()) cdsDiaPgto.Post();
}

void TfrmFormPgto::sbtCancelarClick(plat::TControl&) {
    const bool term = TermBeingEdited();
    const bool dayRow = DayRowBeingEdited();
    if (!term && dayRow) return cdsDiaPgto.Cancel();
    if (!term || !Confirmed(msgPadrao, "Canc")) return;
    if (!dayRow) return cdsFormPgto.Cancel();
    Repaint();
    if (TermBeingEdited()) cdsFormPgto.Cancel();
    if (DayRowBeingEdited()) cdsDiaPgto.Cancel();
    cdsDiaPgto.CancelUpdates();
    ReadMaxDiaFin();
    dbgPadrao.SetSelectedIndex(0);
    dtsPadraoStateChange(dtsPadrao);
}

void TfrmFormPgto::sbtExcluirClick(plat::TControl&) {
    // The navigator can hold the focus while the master grid's exit has not run: it still
    // works on the term.
    plat::TWinControl* active = ActiveControl();
    if (active == &dbgPadrao || (boTestaGrid && active == &dbnPadrao)) {
        if (cdsFormPgto.State() != plat::TDataSetState::Browse) return;
        if (!Confirmed(msgMensagensPadroes, "Excl")) return;
        Repaint();
        cdsFormPgto.Delete();
        dtsPadraoStateChange(dtsPadrao);
        dbgPadrao.SetSelectedIndex(0);
        return;
    }
    if (cdsDiaPgto.State() != plat::TDataSetState::Browse) return;
    if (Confirmed(msgMensagensPadroes, "Excl")) {
        Repaint();
        cdsDiaPgto.Delete();
        dtsDiaPgtoStateChange(dtsDiaPgto);
        for (plat::TDBGrid* grid : {&dbgDiaPgto, &dbgDiaSemana, &dbgSemanaMes})
            if (grid->Focused()) grid->SetSelectedIndex(0);
    }
    sbtConfirmarClick(sbtConfirmar);
}

} // namespace ger06700
