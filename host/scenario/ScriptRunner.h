#pragma once
#include <istream>

namespace gerscript {

class Session;
class Transcript;

/// Reads a script line by line, echoes each command to the transcript and hands it to the
/// session. A script fault ends a script with status 1 and "line N: reason" on standard
/// error; at an interactive console it is reported and the console goes on.
class ScriptRunner {
public:
    ScriptRunner(Session& session, Transcript& transcript)
        : session_(session), transcript_(transcript) {}

    /// A prompt before every line, faults that do not stop, and no echo of what the terminal
    /// already shows.
    void SetInteractive(bool interactive, bool echo) {
        interactive_ = interactive;
        echo_ = echo;
    }

    /// For every command a line "MICROSECONDS<TAB>CALLS<TAB>RSS_KIB<TAB>COMMAND" to out: how
    /// long it took, the remote calls it made and the program's resident size afterwards.
    void SetTimings(std::ostream* out) { timings_ = out; }

    /// Runs every line of in; returns the exit status of the program.
    int Run(std::istream& in);

private:
    Session& session_;
    Transcript& transcript_;
    bool interactive_ = false;
    bool echo_ = true;
    std::ostream* timings_ = nullptr;
};

} // namespace gerscript
