#include "ScriptRunner.h"

#include "ScriptFault.h"
#include "ScriptLine.h"
#include "Session.h"
#include "Transcript.h"

#include <iostream>
#include <string>

namespace gerscript {

int ScriptRunner::Run(std::istream& in) {
    std::string line;
    for (int number = 1;; ++number) {
        if (interactive_) transcript_.Out() << "ger-script> " << std::flush;
        if (!std::getline(in, line)) break;
        const std::string_view command = TrimLine(line);
        if (command.empty() || command.front() == '#') continue;
        if (echo_) transcript_.Command(command);
        try {
            if (const auto parsed = ParseScriptLine(command)) session_.Run(*parsed);
        } catch (const ScriptFault& fault) {
            // Standard error must not overtake the transcript lines that led to the fault.
            transcript_.Flush();
            std::cerr << "line " << number << ": " << fault.what() << std::endl;
            if (!interactive_) return 1;
        }
    }
    if (interactive_) transcript_.Out() << '\n';
    return 0;
}

} // namespace gerscript
