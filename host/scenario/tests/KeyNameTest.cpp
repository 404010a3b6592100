#include "KeyName.h"
#include "ScriptFault.h"

#include <gtest/gtest.h>

namespace gerscript {
namespace {

// Keys the scenarios press (Tab, Enter, Escape, Down, Right, Insert, PageUp, Shift+Tab,
// Alt+PageDown) show in their transcripts; these are the others and the modifier forms.
TEST(KeyName, ReadsEveryKeyAndModifier) {
    const struct {
        const char* name;
        std::uint16_t key;
        plat::TShiftState shift;
    } cases[] = {
        {"Backspace", plat::VK_BACK, {}},
        {"F2", plat::VK_F2, {}},
        {"Home", plat::VK_HOME, {}},
        {"End", plat::VK_END, {}},
        {"Ctrl+Delete", plat::VK_DELETE, {false, true, false}},
        {"Ctrl+Shift+Alt+Down", plat::VK_DOWN, {true, true, true}},
        {"alt+pagedown", plat::VK_NEXT, {false, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyStroke stroke = ParseKeyName(c.name);
        EXPECT_EQ(stroke.key, c.key);
        EXPECT_EQ(stroke.shift, c.shift);
    }
}

TEST(KeyName, RefusesWhatNamesNoKey) {
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"Alt+Space", "unknown key 'Space'"},
        {"Meta+Tab", "unknown modifier 'Meta' in key name 'Meta+Tab' (Shift, Ctrl or Alt)"},
        {"Ctrl+Ctrl+Delete", "key name 'Ctrl+Ctrl+Delete' repeats Ctrl"},
        {"Alt+", "key name 'Alt+' has an empty part"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ParseKeyName(c.name);
            ADD_FAILURE() << "no fault";
        } catch (const ScriptFault& fault) {
            EXPECT_EQ(std::string(fault.what()), c.reason);
        }
    }
}

} // namespace
} // namespace gerscript
