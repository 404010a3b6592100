// The appserver program itself: bad starts, start-up line, demo data, exit status.
#include "Program.h"
#include "RpcClient.h"
#include "TestDatabase.h"

#include <csignal>
#include <gtest/gtest.h>
#include <optional>

namespace {

using nlohmann::json;

TEST(Program, ReportsBadStartsWithNonZeroExit) {
    TempFolder folder;
    const std::string missing = "sqlite:" + (folder.Path() / "none" / "x.db").string();
    const std::vector<std::vector<std::string>> cases{
        {"--db", missing, "--listen", "127.0.0.1:0"},
        {"--db", missing, "--listen", "127.0.0.1:0", "--init-db"},
        {"--db", "mysql://x", "--listen", "127.0.0.1:0"},
        {"--db", "sqlite:" + (folder.Path() / "a.db").string(), "--listen", "localhost"},
        {"--no-such-option"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments[0] + " " + (arguments.size() > 1 ? arguments[1] : ""));
        Program program(arguments);
        EXPECT_EQ(program.ReadLine(), std::nullopt);
        EXPECT_NE(program.Wait(), 0);
    }
}

TEST(Program, StartsOnAFreePortWithDemoDataAndStopsOnSignal) {
    TempFolder folder;
    const std::string db = "sqlite:" + (folder.Path() / "demo.db").string();
    json terms;
    {
        Program program({"--listen", "127.0.0.1:0", "--db", db, "--init-db", "--demo-data"});
        unsigned short port = PortOf(program.ReadLine());
        RpcClient client(port);
        terms = client.Result("GetFormPgto", json::array())["rows"];
        // The demo terms themselves are what every scenario session opens the screen on.
        EXPECT_GE(terms.size(), 5u);
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Wait(), 0);
    }
    // A second start with --demo-data leaves a database that holds terms alone.
    Program again({"--listen", "127.0.0.1:0", "--db", db, "--demo-data"});
    RpcClient client(PortOf(again.ReadLine()));
    EXPECT_EQ(client.Result("GetFormPgto", json::array())["rows"], terms);
    again.Signal(SIGINT);
    EXPECT_EQ(again.Wait(), 0);
}

} // namespace
