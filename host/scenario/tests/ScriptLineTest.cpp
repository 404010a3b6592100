#include "ScriptLine.h"
#include "ScriptFault.h"

#include <gtest/gtest.h>

namespace gerscript {
namespace {

TEST(ScriptLine, ReadsCommandsAndTheirArguments) {
    // Comments after commands, quoted names and texts, '#' inside texts and sh commands as
    // written are in the scenario language.script.
    const struct {
        const char* line;
        Verb verb;
        const char* text;
    } cases[] = {
        {"open", Verb::Open, ""},
        {"  activate  ", Verb::Activate, ""},
        {"close # the user is done\r", Verb::Close, ""},
        {"focus dbgDiaPgto", Verb::Focus, "dbgDiaPgto"},
        {"col\tNRDIAFINPGTO", Verb::Col, "NRDIAFINPGTO"},
        // TEXT: the rest of the line up to a comment, blanks inside kept.
        {"type 30/60 dias  ", Verb::Type, "30/60 dias"},
        {"type ab\"c", Verb::Type, "ab\"c"},
        // show: its parts, none or some.
        {"show # the whole state", Verb::Show, ""},
        {"show form\tcdsDiaPgto.current # parts", Verb::Show, "form\tcdsDiaPgto.current"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto command = ParseScriptLine(c.line);
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->verb, c.verb);
        EXPECT_EQ(command->text, c.text);
    }
}

// Rows, keys and answers as the scenarios use them show in every transcript.
TEST(ScriptLine, ReadsRowNumbersOfSixDigits) {
    EXPECT_EQ(ParseScriptLine("row 000012")->row, 12);
}

TEST(ScriptLine, BlankAndCommentLinesGiveNothing) {
    for (const char* line : {"", "\t", "\r", "   # indented comment"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseScriptLine(line).has_value());
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
