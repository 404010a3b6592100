#pragma once
#include "KeyName.h"

#include <optional>
#include <string>
#include <string_view>

namespace gerscript {

/// The commands of the script language, one per user action or report.
enum class Verb {
    Open,
    Activate,
    Minimize,
    Maximize,
    Close,
    Focus,
    Col,
    Row,
    Type,
    Key,
    Pick,
    Click,
    Answer,
    Show,
    Grid,
    Sh,
};

/// One script line, read and checked for its form but not yet applied to the screen.
struct ScriptCommand {
    Verb verb = Verb::Show;
    /// NAME of focus, click and grid; FIELD of col; TEXT of type and pick; COMMAND of sh; the
    /// PARTs of show, blank-separated (empty: the whole state).
    std::string text;
    /// N of row (1-based).
    int row = 0;
    /// KEY of key.
    KeyStroke key;
    /// answer yes (true) or no (false).
    bool yes = false;
};

/// Reads one line of a script. Blank lines and comment lines give nothing. A word starting
/// with '#' starts a comment; TEXT is the rest of the line, or one double-quoted string with
/// \" and \\ escapes; the COMMAND of sh goes to the shell as written. Throws ScriptFault for
/// an unknown command or arguments that do not fit it.
std::optional<ScriptCommand> ParseScriptLine(std::string_view line);

/// The line without the blanks around it and without a carriage return at its end.
std::string_view TrimLine(std::string_view line);

} // namespace gerscript
