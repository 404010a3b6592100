// Which record commands can be used follows the grid the user works in and the state of its
// dataset; a payment term counts as being edited while one of its day rows is.
#include "shell/FormPgto.h"

namespace ger06700 {

void TfrmFormPgto::HabilitaBotao() {
    bool enabled[5];
    if (ActiveControl() == &dbgPadrao) {
        const bool browse = dtsPadrao.State() == plat::TDataSetState::Browse;
        const bool rows = cdsFormPgto.RecordCount() > 0;
        const bool onTerm = browse && rows;
        enabled[0] = browse, enabled[1] = onTerm, enabled[2] = onTerm, enabled[3] = onTerm,
        enabled[4] = browse;
    } else if (dbgSemanaMes.Focused() || dbgDiaSemana.Focused() || dbgDiaPgto.Focused()) {
        const bool browse = dtsDiaPgto.State() == plat::TDataSetState::Browse;
        enabled[0] = enabled[1] = enabled[3] = enabled[4] = false;
        enabled[2] = browse && cdsDiaPgto.RecordCount() > 0;
    } else {
        return;
    }
    plat::TSpeedButton* buttons[] = {&sbtIncluir, &RecordCommand2(), &sbtExcluir, &RecordCommand4(),
                                     &sbtVerificar};
    plat::TMenuItem* entries[] = {&mnuIncluir, &mnuAlterar, &mnuExcluir, &mnuCopiar, &mnuVerificar};
    for (int i = 0; i < 5; ++i)
        buttons[i]->SetEnabled(enabled[i]);
    for (int i = 0; i < 5; ++i)
        entries[i]->SetEnabled(buttons[i]->Enabled());
}

void TfrmFormPgto::dtsPadraoStateChange(plat::TDataSource& sender) {
    plat::TfrmPadraoGrid::dtsPadraoStateChange(sender);
    // The resource description binds the data source while the form is still being built.
    if (!built_) return;
    ListDependentControl().SetEnabled(cdsFormPgto.RecordCount() > 0);
    HabilitaBotao();
}

} // namespace ger06700
