// ger-script: drives the real screen module from a script of user actions and prints what the
// user would see, for regression scripts and CI; an interactive console on a terminal.
#include "ScriptRunner.h"
#include "Session.h"
#include "Transcript.h"
#include "shared/HostConfig.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace {

// The module beside the program, as the desktop host finds it.
std::string DefaultModulePath() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto folder = error ? std::filesystem::path(".") : self.parent_path();
    return (folder / "Pkg_Ger06700.so").string();
}

// Splits HOST:PORT at its last colon; false when it is no such thing.
bool SplitServer(const std::string& server, std::string& host, std::string& port) {
    const auto colon = server.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    host = server.substr(0, colon);
    port = server.substr(colon + 1);
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int number = std::stoi(port);
    return number >= 1 && number <= 65535;
}

// The shell commands of a script learn where the session works, to play "another user".
void ExportForShell() {
    try {
        const std::string server =
            plat::HostConfig::ServerHost() + ":" + std::to_string(plat::HostConfig::ServerPort());
        setenv("GER_SERVER", server.c_str(), 1);
    } catch (const std::exception&) {
        // A port setting that is no number: the screen reports it when it connects.
    }
    setenv("GER_DB", plat::HostConfig::DatabaseUrl().c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Runs a script of user actions against the Forma de Pagamento screen (GER06700) "
                 "and prints a transcript of what the user sees. Shell commands of the script "
                 "(sh) see GER_SERVER (HOST:PORT) and GER_DB (database URL) of the session.",
                 "ger-script"};
    std::string server;
    std::string database;
    std::string modulePath = DefaultModulePath();
    std::string scriptPath = "-";
    std::string timingsPath;
    app.add_option("--server", server,
                   "application server as HOST:PORT (default: the host configuration)");
    app.add_option("--db", database,
                   "database the screen reads directly, e.g. sqlite:PATH (default: the host "
                   "configuration)");
    app.add_option("--module", modulePath, "the screen module to load")->capture_default_str();
    app.add_option("--timings", timingsPath,
                   "write for every command its time in microseconds, the remote calls it "
                   "made and the resident size in KiB afterwards, tab-separated, to this file");
    app.add_option("script", scriptPath, "script to run; - or none reads standard input");
    app.footer(R"(Commands, one a line ('#' starts a comment; TEXT is the rest of the line or a
"quoted" text with \" and \\ escapes):
  open | activate | minimize | maximize | close
  focus NAME | col FIELD | row N | type TEXT | key KEY | pick TEXT | click NAME
  answer yes|no | show [PART...] | grid NAME[.current] | sh COMMAND
PART: form, commands, a dataset's NAME or NAME.current (its current row); none: everything.
KEY: Tab Enter Escape Up Down Left Right Delete Backspace PageUp PageDown F2 Insert Home End,
optionally after Shift+ Ctrl+ Alt+ (Alt+PageDown).
Exit status: 0 when every command was carried out, 1 for a script fault ("line N: reason" on
standard error), 2 for a wrong command line. With a terminal on standard input: a console.)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : 2;
    }

    if (!server.empty()) {
        std::string host, port;
        if (!SplitServer(server, host, port)) {
            std::cerr << "ger-script: --server must be HOST:PORT, not '" << server << "'\n";
            return 2;
        }
        plat::HostConfig::SetOverride("server.host", host);
        plat::HostConfig::SetOverride("server.port", port);
    }
    if (!database.empty()) plat::HostConfig::SetOverride("db", database);
    ExportForShell();

    std::ifstream file;
    const bool fromStdin = scriptPath == "-";
    if (!fromStdin) {
        file.open(scriptPath);
        if (!file) {
            std::cerr << "ger-script: cannot read " << scriptPath << '\n';
            return 2;
        }
    }
    std::istream& in = fromStdin ? std::cin : file;
    std::ofstream timings;
    if (!timingsPath.empty()) {
        timings.open(timingsPath);
        if (!timings) {
            std::cerr << "ger-script: cannot write " << timingsPath << '\n';
            return 2;
        }
    }

    try {
        gerscript::Transcript transcript(std::cout);
        gerscript::Session session(modulePath, transcript);
        gerscript::ScriptRunner runner(session, transcript);
        const bool interactive = fromStdin && isatty(STDIN_FILENO);
        runner.SetInteractive(interactive, !(interactive && isatty(STDOUT_FILENO)));
        if (timings.is_open()) runner.SetTimings(&timings);
        return runner.Run(in);
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "ger-script: " << error.what() << '\n';
        return 1;
    }
}
