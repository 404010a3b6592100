#include "Packets.h"
#include "RpcClient.h"
#include "RunningServer.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;

TEST(Concurrency, TwoClientsWritingAtOnceLoseAndCorruptNothing) {
    RunningServer server;
    RpcClient setup(server.Port());
    setup.Result("SetFormPgto",
                 TermDelta({Insert(Term("01")), Insert(Term("02")), Insert(Term("09", "0"))}));
    constexpr int kRounds = 25;
    struct Outcome {
        int renamed = 0; // shared term renamed by this client
        int refused = 0; // rename refused: the other client got there first
        std::vector<std::string> unexpected;
    };
    auto work = [&](const std::string& code, Outcome& outcome) {
        RpcClient client(server.Port());
        for (int i = 0; i < kRounds; ++i) {
            // Own rows: every one must arrive.
            json day = Day(code, "01", "31", i < 10 ? "0" + std::to_string(i) : std::to_string(i));
            json response = client.Call("SetDiaPgto", DayDelta({Insert(day)}));
            if (!response.contains("result")) outcome.unexpected.push_back(response.dump());
            // The shared term: read, then rename from what was read.
            json terms = client.Result("GetFormPgto", json::array())["rows"];
            json shared = terms[2];
            json renamed = shared;
            renamed[1] = code + "-" + std::to_string(i);
            response = client.Call("SetFormPgto", TermDelta({Update(shared, renamed)}));
            if (response.contains("result"))
                ++outcome.renamed;
            else if (response["error"]["message"] ==
                     "Registro alterado ou excluído por outro usuário.")
                ++outcome.refused;
            else
                outcome.unexpected.push_back(response.dump());
        }
    };
    Outcome first, second;
    std::thread a(work, "01", std::ref(first));
    std::thread b(work, "02", std::ref(second));
    a.join();
    b.join();

    EXPECT_EQ(first.unexpected, std::vector<std::string>());
    EXPECT_EQ(second.unexpected, std::vector<std::string>());
    EXPECT_EQ(first.renamed + first.refused, kRounds);
    EXPECT_EQ(second.renamed + second.refused, kRounds);
    EXPECT_GE(first.renamed + second.renamed, kRounds); // at least one wins every round
    for (const char* code : {"01", "02"}) {
        json rows = setup.Result("GetDiaPgto", {code})["rows"];
        EXPECT_EQ(rows.size(), static_cast<std::size_t>(kRounds)) << code;
    }
    auto storage = server.OpenStorage();
    EXPECT_EQ(storage->Query("PRAGMA integrity_check"),
              std::vector<ger::SqlRow>{{ger::SqlValue(std::string("ok"))}});
}

} // namespace
