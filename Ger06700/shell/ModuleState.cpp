#include "shell/ModuleState.h"

#include "app/Application.h"
#include "shell/FormPgto.h"

namespace ger06700 {

extern "C" {
TfrmFormPgto* frmFormPgto = nullptr;
bool boIdCriado = false;
bool boPrimVez = true;
bool boDelete = false;
bool boTestaGrid = false;
bool boPost = false;
}
std::string stFormPgto;

void InitializeUnit() {
    boIdCriado = false;
    boPost = false;
    boDelete = false;
    boPrimVez = true;
    boTestaGrid = false;
}

void FinalizeUnit() {
    // A form still open when the module goes would run code that is no longer loaded.
    if (frmFormPgto) plat::Application().ReleaseForm(frmFormPgto);
    frmFormPgto = nullptr;
    stFormPgto.clear();
}

} // namespace ger06700
