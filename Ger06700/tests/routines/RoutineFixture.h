#pragma once
#include "../ScreenFixture.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

namespace ger06700 {
extern "C" void IniProc();
}

/// The screen's routines called one by one; the unit's initialization and finalization stand
/// in for the module's load and unload.
class RoutineTest : public ScreenTest {
protected:
    void LoadModule() override { ger06700::InitializeUnit(); }
    void UnloadModule() override { ger06700::FinalizeUnit(); }
    bool IniProc() {
        return Act([] { ger06700::IniProc(); });
    }
    ger06700::TfrmFormPgto& Screen() { return dynamic_cast<ger06700::TfrmFormPgto&>(Form()); }
};
