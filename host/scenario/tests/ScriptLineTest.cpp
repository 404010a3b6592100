#include "ScriptLine.h"
#include "ScriptFault.h"

#include <gtest/gtest.h>
#include <tuple>

namespace gerscript {
namespace {

// The forms the scenario language.script does not show: blanks and tabs around words, a
// carriage return, a comment after a command without arguments, blank and comment lines.
TEST(ScriptLine, ReadsCommandsAndTheirArguments) {
    const struct {
        const char* line;
        Verb verb;
        const char* text;
    } cases[] = {
        {"  activate  ", Verb::Activate, ""},
        {"close # the user is done\r", Verb::Close, ""},
        {"col\tNRDIAFINPGTO", Verb::Col, "NRDIAFINPGTO"},
        {"show form\tcdsDiaPgto.current # parts", Verb::Show, "form\tcdsDiaPgto.current"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto command = ParseScriptLine(c.line);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->verb, c.verb);
        EXPECT_EQ(command->text, c.text);
    }
    EXPECT_EQ(ParseScriptLine("row 000012")->row, 12);
    for (const char* line : {"", "\t", "\r", "   # indented comment"})
        EXPECT_FALSE(ParseScriptLine(line).has_value()) << line;
}

// Keys the scenarios press (Tab, Enter, Escape, Down, Right, Insert, PageUp, Shift+Tab,
// Alt+PageDown) show in their transcripts; these are the others and the modifier forms.
TEST(ScriptLine, ReadsEveryKeyAndModifier) {
    const std::tuple<const char*, std::uint16_t, plat::TShiftState> cases[] = {
        {"key Up", plat::VK_UP, {}},
        {"key Left", plat::VK_LEFT, {}},
        {"key Backspace", plat::VK_BACK, {}},
        {"key F2", plat::VK_F2, {}},
        {"key Home", plat::VK_HOME, {}},
        {"key End", plat::VK_END, {}},
        {"key Ctrl+Delete", plat::VK_DELETE, {false, true, false}},
        {"key Ctrl+Shift+Alt+Down", plat::VK_DOWN, {true, true, true}},
        {"key alt+pagedown", plat::VK_NEXT, {false, false, true}},
    };
    for (const auto& [line, key, shift] : cases) {
        SCOPED_TRACE(line);
        const KeyStroke stroke = ParseScriptLine(line)->key;
        EXPECT_EQ(stroke.key, key);
        EXPECT_EQ(stroke.shift, shift);
    }
}

TEST(ScriptLine, RefusesLinesThatAreNoCommand) {
    const struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"Open", "unknown command 'Open'"},
        {"open now", "'open' takes no argument"},
        {"focus dbgPadrao dbgDiaPgto", "'focus' takes one argument"},
        {"focus # comment only", "'focus' needs a control name"},
        {"row 0", "row number '0' is not a whole number from 1 up"},
        {"row 2.5", "row number '2.5' is not a whole number from 1 up"},
        {"row 99999999999", "row number '99999999999' is not a whole number from 1 up"},
        {"type \"open", "quoted text has no closing quote"},
        {"type \"ends in escape\\", "quoted text has no closing quote"},
        {"type \"a\\tb\"", "unknown escape \\t in quoted text (only \\\" and \\\\)"},
        {"type \"a\"b", "a blank must follow the closing quote"},
        {"type \"a\" b", "'type' takes one argument"},
        {"key Alt+Space", "unknown key 'Space'"},
        {"key Meta+Tab", "unknown modifier 'Meta' in key name 'Meta+Tab' (Shift, Ctrl or Alt)"},
        {"key Ctrl+Ctrl+Delete", "key name 'Ctrl+Ctrl+Delete' repeats Ctrl"},
        {"key Alt+", "key name 'Alt+' has an empty part"},
        {"answer maybe", "answer must be yes or no, not 'maybe'"},
        {"sh    # nothing to run", "'sh' needs a shell command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            ParseScriptLine(c.line);
            ADD_FAILURE() << "no fault";
        } catch (const ScriptFault& fault) {
            EXPECT_EQ(std::string(fault.what()), c.reason);
        }
    }
}

} // namespace
} // namespace gerscript
