// The appserver program itself: options, start-up line, demo data, exit status.
#include "Program.h"
#include "RpcClient.h"
#include "TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <set>

namespace {

using nlohmann::json;

TEST(Program, HelpDescribesEveryOption) {
    Program program({"--help"});
    std::string help;
    while (auto line = program.ReadLine())
        help += *line + "\n";
    EXPECT_EQ(program.Wait(), 0);
    for (const char* option :
         {"--listen", "--db", "--init-db", "--demo-data", "6700", "sqlite:ger06700.db",
          "--token-file", "--max-connections", "--max-buffered-bytes", "--max-queued-requests",
          "--idle-timeout", "--line-timeout", "--send-timeout"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

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
        EXPECT_GE(terms.size(), 5u);
        EXPECT_LE(terms.size(), 7u);

        std::set<std::string> periodTypes;
        for (const auto& term : terms) {
            const std::string type = term[4];
            periodTypes.insert(type);
            json days = client.Result("GetDiaPgto", json::array({term[0]}))["rows"];
            EXPECT_FALSE(days.empty()) << term;
            // Days in range for the term's PeriodType, periods in order without overlap.
            const std::string last = type == "S" ? "07" : "31";
            std::string previousEnd = "00";
            for (const auto& day : days) {
                const std::string start = day[1], end = day[2], pay = day[3];
                EXPECT_GT(start, previousEnd) << term << day;
                EXPECT_LE(start, end) << day;
                EXPECT_LE(end, last) << day;
                EXPECT_LE(pay, type == "M" ? "31" : "07") << day;
                EXPECT_GE(pay, "01") << day;
                previousEnd = end;
            }
            EXPECT_EQ(previousEnd, last) << term; // the schedule covers every day
        }
        EXPECT_EQ(periodTypes, (std::set<std::string>{"A", "M", "S"}));
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
