#pragma once
#include <string>

namespace gerscript {

/// Runs a command line with /bin/sh -c, its standard input empty, and waits for it.
class ShellCommand {
public:
    ShellCommand() = delete;

    /// The command's exit status, or 128 + N when signal N ended it, as the shells report it;
    /// throws ScriptFault when the shell cannot be started.
    static int Run(const std::string& command);
};

} // namespace gerscript
