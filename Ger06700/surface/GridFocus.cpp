// Moving between the grids and along their columns. Leaving a column checks what was typed
// into it; entering a day grid stores the term and puts its rows into editing at once, so
// that while a day grid has the focus its rows are always being edited; leaving it confirms
// the row and sends the user back to the code of the master grid. boTestaGrid remembers
// which side the user works on, for the delete command.
#include "shell/BindHandler.h"
#include "shell/Detached.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {

using plat::TDataSetState;

void TfrmFormPgto::dbgPadraoColExit(plat::TControl&) {
    // A stored term is checked when the grid is left; a new one column by column.
    if (dtsPadrao.State() != TDataSetState::Insert) return;
    const plat::TField* left = dbgPadrao.SelectedField();
    if (left == &cdsFormPgtoCDFORMPGTO) Vd_CodForm(false);
    if (left == &cdsFormPgtoIDTPPERIODO) Vd_Periodo(false);
}

void TfrmFormPgto::dbgPadraoEnter(plat::TControl&) {
    boTestaGrid = true;
    HabilitaBotao();
}

void TfrmFormPgto::dbgPadraoExit(plat::TControl&) {
    boTestaGrid = false;
    if (dtsPadrao.State() == TDataSetState::Insert) Vd_CodForm(true);
    if (TermBeingEdited()) {
        Vd_DescForm(true);
        Vd_DataBase(true);
        Vd_DtReferencia(true);
        Vd_ConsideraDiasUteis(true);
        Vd_Periodo(true);
    }
}

void TfrmFormPgto::CheckDayColumnLeft(plat::TDBGrid& grid, bool finalDayChecked) {
    if (!DayRowBeingEdited()) return;
    const plat::TField* left = grid.SelectedField();
    if (left == &cdsDiaPgtoNRDIAINIPGTO) {
        // The week view stores its weekday codes as they are typed or picked: nothing to
        // bring to two digits first.
        if (finalDayChecked) Vd_DiaFinal(false);
        Vd_Periodos("NRDIAINIPGTO", cdsDiaPgtoNRDIAINIPGTO.AsString());
    } else if (left == &cdsDiaPgtoNRDIAFINPGTO) {
        Vd_DiaFinal(false);
        Vd_Periodos("NRDIAFINPGTO", cdsDiaPgtoNRDIAFINPGTO.AsString());
    } else if (left == &cdsDiaPgtoNRNUMMESPGTO) {
        Vd_NumMes(false);
    }
}

void TfrmFormPgto::dbgDiaPgtoColExit(plat::TControl&) {
    CheckDayColumnLeft(dbgDiaPgto, true);
}

void TfrmFormPgto::dbgDiaSemanaColExit(plat::TControl&) {
    CheckDayColumnLeft(dbgDiaSemana, false);
}

void TfrmFormPgto::dbgSemanaMesColExit(plat::TControl&) {
    CheckDayColumnLeft(dbgSemanaMes, true);
}

void TfrmFormPgto::EnterDayGrid() {
    if (cdsFormPgto.IsEmpty()) return Vd_CodForm(true); // reports the missing code
    boTestaGrid = false;
    if (TermBeingEdited()) cdsFormPgto.Post();
    if (cdsDiaPgto.IsEmpty())
        cdsDiaPgto.Insert();
    else
        cdsDiaPgto.Edit();
    HabilitaBotao();
}

void TfrmFormPgto::dbgDiaPgtoEnter(plat::TControl&) {
    EnterDayGrid();
}

void TfrmFormPgto::dbgDiaSemanaEnter(plat::TControl&) {
    EnterDayGrid();
}

void TfrmFormPgto::dbgSemanaMesEnter(plat::TControl&) {
    EnterDayGrid();
}

void TfrmFormPgto::EndUnchangedTermEdit() {
    if (dtsPadrao.State() != TDataSetState::Edit || cdsFormPgto.Modified()) return;
    // The cancel hook reads the term's rows again; they are the rows just shown, unchanged.
    Detached quiet(cdsFormPgto.AfterCancel);
    cdsFormPgto.Cancel();
}

void TfrmFormPgto::LeaveDayGrid(bool monthsChecked) {
    if (cdsFormPgto.IsEmpty()) return;
    if (DayRowBeingEdited()) {
        if (monthsChecked) Vd_NumMes(false);
        sbtConfirmarClick(sbtConfirmar);
    } else {
        // Rows that were only looked at (or whose edit was cancelled) leave the term they put
        // into edit as it was stored: browse state, the commands usable, Cancel asking nothing.
        EndUnchangedTermEdit();
    }
    // From the first time a day grid is left, entering the master grid counts as working on
    // the terms.
    dbgPadrao.OnEnter = [this](plat::TControl& sender) { dbgPadraoEnter(sender); };
    HabilitaBotao();
    cdsFormPgtoCDFORMPGTO.FocusControl();
}

void TfrmFormPgto::dbgDiaPgtoExit(plat::TControl&) {
    LeaveDayGrid(true);
}

void TfrmFormPgto::dbgSemanaMesExit(plat::TControl&) {
    LeaveDayGrid(true);
}

void TfrmFormPgto::dbgDiaSemanaExit(plat::TControl&) {
    // The week view has no months column.
    LeaveDayGrid(false);
}

void TfrmFormPgto::AddGridFocusHandlers(plat::THandlerTable& table) {
    BindHandler(table, "dbgPadraoColExit", this, &TfrmFormPgto::dbgPadraoColExit);
    BindHandler(table, "dbgPadraoExit", this, &TfrmFormPgto::dbgPadraoExit);
    BindHandler(table, "dbgDiaPgtoColExit", this, &TfrmFormPgto::dbgDiaPgtoColExit);
    BindHandler(table, "dbgDiaPgtoEnter", this, &TfrmFormPgto::dbgDiaPgtoEnter);
    BindHandler(table, "dbgDiaPgtoExit", this, &TfrmFormPgto::dbgDiaPgtoExit);
    BindHandler(table, "dbgDiaSemanaColExit", this, &TfrmFormPgto::dbgDiaSemanaColExit);
    BindHandler(table, "dbgDiaSemanaEnter", this, &TfrmFormPgto::dbgDiaSemanaEnter);
    BindHandler(table, "dbgSemanaMesColExit", this, &TfrmFormPgto::dbgSemanaMesColExit);
    BindHandler(table, "dbgSemanaMesEnter", this, &TfrmFormPgto::dbgSemanaMesEnter);
    BindHandler(table, "dbgSemanaMesExit", this, &TfrmFormPgto::dbgSemanaMesExit);
}

} // namespace ger06700
