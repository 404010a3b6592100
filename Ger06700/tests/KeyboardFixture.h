#pragma once
#include "ScreenFixture.h"
#include "shared/Consiste.h"

#include <string>

/// The screen worked with real keys, as a user presses them, through the form's one key entry.
class KeyboardTest : public ScreenTest {
protected:
    static constexpr plat::TShiftState kAlt{false, false, true};
    static constexpr plat::TShiftState kShift{true, false, false};
    static constexpr plat::TShiftState kCtrl{false, true, false};

    plat::TDBGrid& Grid(const std::string& name) { return Part<plat::TDBGrid>(name); }
    /// Name of the control holding the focus; empty for none.
    std::string Active() {
        return Form().ActiveControl() ? Form().ActiveControl()->Name() : std::string();
    }
    /// Field of the grid's selected column; empty for none.
    std::string Column(const std::string& grid) {
        const plat::TField* field = Grid(grid).SelectedField();
        return field ? field->FieldName() : std::string();
    }
    void Select(const std::string& grid, const std::string& field) {
        ASSERT_TRUE(Act([&] { Grid(grid).SetSelectedIndex(plat::IndiceCol(Grid(grid), field)); }));
    }
    bool Key(std::uint16_t key, plat::TShiftState shift = {}) {
        return Act([&] { Form().PressKey(key, shift); });
    }
    bool Type(const std::string& text) {
        return Act([&] { Form().TypeText(text); });
    }
};
