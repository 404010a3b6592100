#include "ScriptRunner.h"

#include "ScriptFault.h"
#include "ScriptLine.h"
#include "Session.h"
#include "Transcript.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <string>

namespace gerscript {

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

} // namespace

int ScriptRunner::Run(std::istream& in) {
    std::string line;
    for (int number = 1;; ++number) {
        if (interactive_) transcript_.Out() << "ger-script> " << std::flush;
        if (!std::getline(in, line)) break;
        const std::string_view command = TrimLine(line);
        if (command.empty() || command.front() == '#') continue;
        if (echo_) transcript_.Command(command);
        const auto started = std::chrono::steady_clock::now();
        const long callsBefore = transcript_.Calls();
        try {
            if (const auto parsed = ParseScriptLine(command)) session_.Run(*parsed);
            if (timings_) {
                const std::chrono::duration<double, std::micro> took =
                    std::chrono::steady_clock::now() - started;
                *timings_ << static_cast<long>(took.count()) << '\t'
                          << transcript_.Calls() - callsBefore << '\t' << ResidentKiB() << '\t'
                          << command << std::endl;
            }
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
