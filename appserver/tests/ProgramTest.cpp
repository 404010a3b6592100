// The appserver program itself: starts it refuses, the start-up line, demo data, exit status.
#include "Program.h"
#include "RunningServer.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using nlohmann::json;

TEST(Program, StartsOnlyWhereItCanServeSafely) {
    TempFolder folder;
    const std::string db = "sqlite:" + (folder.path / "demo.db").string();
    const std::string missing = "sqlite:" + (folder.path / "none" / "x.db").string();
    const auto token = [&](const std::string& name, const std::string& text) {
        const std::string path = (folder.path / name).string();
        std::ofstream(path) << text << "\n";
        ::chmod(path.c_str(), 0600);
        return path;
    };
    const struct {
        std::vector<std::string> arguments;
        bool starts;
    } cases[] = {
        {{"--db", missing, "--listen", "127.0.0.1:0"}, false},
        {{"--db", missing, "--listen", "127.0.0.1:0", "--init-db"}, false},
        {{"--db", "mysql://x", "--listen", "127.0.0.1:0"}, false},
        {{"--db", db, "--init-db", "--listen", "localhost"}, false},
        {{"--db", db, "--init-db", "--listen", "0.0.0.0:0"}, false}, // any address needs a token
        {{"--db", db, "--init-db", "--listen", "127.0.0.1:0", "--token-file", token("s", "abc")},
         false}, // too short
        {{"--db", db, "--init-db", "--listen", "0.0.0.0:0", "--token-file",
          token("t", "c0ffee-0123456789-abcdef-segredo")},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[3] + " " + c.arguments.back());
        Program program(c.arguments);
        const auto line = program.ReadLine();
        EXPECT_EQ(line.has_value(), c.starts);
        if (c.starts) {
            EXPECT_EQ(line->rfind("listening on 0.0.0.0:", 0), 0u) << *line;
            program.Signal(SIGTERM);
        }
        EXPECT_EQ(program.Wait(), c.starts ? 0 : 1);
    }
}

// A second start with --demo-data leaves a database that holds terms alone; both signals stop
// the program cleanly. The demo terms themselves are what every scenario session opens on.
TEST(Program, DemoDataGoesOnlyIntoAnEmptyDatabaseAndSignalsStopIt) {
    TempFolder folder;
    const std::string db = "sqlite:" + (folder.path / "demo.db").string();
    json terms[2];
    for (int start = 0; start < 2; ++start) {
        std::vector<std::string> arguments{"--listen", "127.0.0.1:0", "--db", db, "--demo-data"};
        if (start == 0) arguments.push_back("--init-db");
        Program program(arguments);
        terms[start] =
            RpcClient(PortOf(program.ReadLine())).Result("GetFormPgto", json::array())["rows"];
        program.Signal(start ? SIGINT : SIGTERM);
        EXPECT_EQ(program.Wait(), 0);
    }
    EXPECT_GE(terms[0].size(), 5u);
    EXPECT_EQ(terms[1], terms[0]);
}

} // namespace
