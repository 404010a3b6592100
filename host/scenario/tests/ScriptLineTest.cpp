#include "ScriptLine.h"
#include "ScriptFault.h"

#include <gtest/gtest.h>

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
