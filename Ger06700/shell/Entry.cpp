#include "app/Application.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {

/// Creates the form once and brings it up in the normal window state.
extern "C" void CriaFormPgto() {
    plat::Application().SetScreenCursor(plat::TCursor::HourGlass);
    try {
        if (!boIdCriado) {
            plat::Application().CreateForm(frmFormPgto, "frmFormPgto");
            boIdCriado = true;
        }
        frmFormPgto->Show();
        frmFormPgto->SetWindowState(plat::TWindowState::Normal);
    } catch (...) {
        // The hourglass must not stay on after a failure.
        plat::Application().SetScreenCursor(plat::TCursor::Default);
        throw;
    }
    plat::Application().SetScreenCursor(plat::TCursor::Default);
}

/// The entry the host calls; a failure passes on to the host.
extern "C" void IniProc() {
    CriaFormPgto();
}

} // namespace ger06700
