// The loadable module of the "Forma de Pagamento" screen: its load and unload hooks run the
// unit initialization and finalization; the entry points IniProc and CriaFormPgto come with
// the screen's unit.
#include "shell/ModuleState.h"

/// Load hook: the host runs it once after loading the module, before any entry call.
extern "C" void Initialize() {
    ger06700::InitializeUnit();
}

/// Unload hook: the host runs it once before unloading the module.
extern "C" void Finalize() {
    ger06700::FinalizeUnit();
}
