#pragma once
#include "../ScreenFixture.h"
#include "core/Value.h"
#include "shared/Consiste.h"
#include "shell/FormPgto.h"
#include "shell/ModuleState.h"

#include <map>

namespace ger06700 {
extern "C" void IniProc();
}

/// The screen's routines called one by one on the real form against the real server. The
/// screen is linked into this program instead of loaded as a module, so its state exists once;
/// the unit's initialization and finalization stand in for the module's load and unload.
class RoutineTest : public ScreenTest {
protected:
    void LoadModule() override { ger06700::InitializeUnit(); }
    void UnloadModule() override { ger06700::FinalizeUnit(); }

    bool IniProc() {
        return Act([] { ger06700::IniProc(); });
    }
    ger06700::TfrmFormPgto& Screen() { return dynamic_cast<ger06700::TfrmFormPgto&>(Form()); }
    plat::TDBGrid& Grid(const std::string& name) { return Part<plat::TDBGrid>(name); }
    /// The grid of the detail page on show.
    plat::TDBGrid& ViewGrid() {
        static const char* const grids[] = {"dbgDiaPgto", "dbgDiaSemana", "dbgSemanaMes"};
        return Grid(grids[Page()]);
    }
    /// Field of the grid's selected column; empty when none.
    static std::string SelectedField(const plat::TDBGrid& grid) {
        const plat::TField* field = grid.SelectedField();
        return field ? field->FieldName() : std::string();
    }
    static void Select(plat::TDBGrid& grid, const std::string& fieldName) {
        grid.SetSelectedIndex(plat::IndiceCol(grid, fieldName));
    }
    /// Types text into the grid's current cell as its editor takes it, nothing written yet.
    static void Type(plat::TDBGrid& grid, const std::string& text) {
        for (const std::string& ch : plat::Utf8Characters(text)) {
            std::string key = ch;
            grid.BeginKey();
            grid.KeyPress(key);
        }
    }
    /// The only error shown since the last ClearLog; empty for none.
    static std::string Shown() {
        const auto errors = Errors();
        return errors.empty() ? std::string() : errors.back() + (errors.size() > 1 ? " (+)" : "");
    }
};
