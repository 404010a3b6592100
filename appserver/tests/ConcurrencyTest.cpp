#include "Packets.h"
#include "RunningServer.h"

#include <atomic>
#include <barrier>
#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;

/// Runs work(i) for i in [0, count) on threads of their own and waits for all.
template <typename Work> void OnThreads(int count, Work work) {
    std::vector<std::jthread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(work, i);
}

std::size_t DayCount(RpcClient& client, const json& code) {
    return client.Result("GetDiaPgto", json::array({code}))["rows"].size();
}

// Two servers on one database, as a company with several runs them: a change made stale
// through the other server is refused and the other's change stays; a day row stored through
// one while the other deletes its term is refused or goes with the term, never left behind.
TEST(Concurrency, ClientsOfTwoServersWritingAtOnceLoseAndCorruptNothing) {
    RunningServer server, secondServer(RunningServer::SameDatabaseAs{server});
    RpcClient adder(server.Port()), deleter(secondServer.Port());
    adder.Result("SetFormPgto", TermDelta({Insert(Term("09", "0"))}));
    deleter.Result("SetFormPgto", TermDelta({Update(Term("09", "0"), Term("09", "1"))}));
    EXPECT_EQ(adder.Call("SetFormPgto",
                         TermDelta({Update(Term("09", "0"), Term("09", "2"))}))["error"]["message"],
              "Registro alterado ou excluído por outro usuário.");
    EXPECT_EQ(adder.Result("GetFormPgto", json::array())["rows"], json::array({Term("09", "1")}));
    for (int round = 0; round < 30; ++round) {
        const json term = Term({char('A' + round % 26), char('0' + round / 26)});
        deleter.Result("SetFormPgto", TermDelta({Insert(term)}));
        json answer;
        std::thread add([&] {
            answer = adder.Call("SetDiaPgto", DayDelta({Insert(Day(term[0], "01", "31", "05"))}));
        });
        deleter.Result("SetFormPgto", TermDelta({Delete(term)}));
        add.join();
        if (!answer.contains("result")) {
            EXPECT_NE(answer["error"]["message"].get<std::string>().find("não cadastrada"),
                      std::string::npos)
                << answer;
        }
        EXPECT_EQ(DayCount(adder, term[0]), 0u) << term[0];
    }
    auto storage = server.OpenStorage();
    if (storage->Dialect().engine() == ger::SqlDialect::Engine::SQLite) {
        EXPECT_EQ(storage->Query("PRAGMA integrity_check"),
                  std::vector<ger::SqlRow>{{ger::SqlValue(std::string("ok"))}});
    }
}

// Writers on different terms never stand in each other's way: none is refused as busy. They
// queue behind one write transaction, and each delta stands or falls alone within it.
TEST(Concurrency, WritersOnTheirOwnTermsAreNeverRefusedAndTheirDeltasStandAlone) {
    RunningServer server;
    RpcClient setup(server.Port());
    constexpr int kClients = 8, kRounds = 40;
    std::vector<json> inserts;
    for (int i = 0; i < kClients; ++i)
        inserts.push_back(Insert(Term("W" + std::to_string(i))));
    setup.Result("SetFormPgto", TermDelta(inserts));
    OnThreads(kClients, [&](int i) {
        RpcClient client(server.Port());
        json term = inserts[std::size_t(i)]["new"];
        const json day = Day(term[0], "01", "10", "10"), moved = Day(term[0], "01", "10", "15"),
                   last = Day(term[0], "11", "31", "20");
        for (int round = 0; round < kRounds; ++round) {
            client.Result("SetDiaPgto", DayDelta({Insert(day), Insert(last)}));
            // A row for a term that does not exist takes its whole delta back.
            EXPECT_FALSE(client
                             .Call("SetDiaPgto",
                                   DayDelta({Insert(moved), Insert(Day("77", "01", "31", "05"))}))
                             .contains("result"));
            EXPECT_EQ(DayCount(client, term[0]), 2u);
            client.Result("SetDiaPgto", DayDelta({Update(day, moved)}));
            json renamed = term;
            renamed[1] = "Rodada " + std::to_string(round);
            client.Result("SetFormPgto", TermDelta({Update(term, renamed)}));
            term = renamed;
            client.Result("SetDiaPgto", DayDelta({Delete(moved), Delete(last)}));
        }
    });
    for (const json& insert : inserts)
        EXPECT_EQ(DayCount(setup, insert["new"][0]), 0u) << insert;
}

// Another program holding the write lock delays the writes only: reads are all answered
// while a write waits for it.
TEST(Concurrency, ReadsGoOnWhileAnotherProgramHoldsTheWriteLock) {
    RunningServer server;
    RpcClient reader(server.Port());
    auto other = server.OpenStorage();
    other->BeginWrite();
    other->Execute("INSERT INTO FORMPGTO (CDFORMPGTO) VALUES ('09')");
    std::atomic<bool> written = false;
    std::thread writer([&] {
        RpcClient(server.Port()).Result("SetFormPgto", TermDelta({Insert(Term("01"))}));
        written = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the write is waiting
    for (int i = 0; i < 20; ++i) {
        // The answer is held: a loop over a member of a temporary would read freed memory.
        const json answer = reader.Result("GetFormPgto", json::array());
        for (const auto& row : answer["rows"])
            EXPECT_NE(row[0], "09"); // not committed yet
    }
    // A read queued behind the waiting write would have come only after it. (PostgreSQL locks
    // rows, not the database: there the write of another code does not wait at all.)
    if (other->Dialect().engine() == ger::SqlDialect::Engine::SQLite) {
        EXPECT_FALSE(written);
    }
    other->Commit();
    writer.join();
    EXPECT_EQ(reader.Result("GetFormPgto", json::array())["rows"].size(), 2u);
}

// Reads that arrive together may share one snapshot; it must begin after each of them arrived:
// each round's readers see the name another program gave the term just before.
TEST(Concurrency, ReadsArrivingTogetherSeeEveryChangeCommittedBeforeThem) {
    RunningServer server;
    RpcClient(server.Port()).Result("SetFormPgto", TermDelta({Insert(Term("01"))}));
    auto other = server.OpenStorage();
    constexpr int kClients = 8, kRounds = 30;
    std::barrier renamed(kClients + 1), read(kClients + 1);
    std::jthread renamer([&] {
        for (int round = 0; round < kRounds; ++round) {
            other->Execute(
                other->Dialect().Bind("UPDATE FORMPGTO SET NMFORMPGTO = ? WHERE CDFORMPGTO = '01'"),
                {"Rodada " + std::to_string(round)});
            renamed.arrive_and_wait();
            read.arrive_and_wait();
        }
    });
    OnThreads(kClients, [&](int) {
        RpcClient client(server.Port());
        for (int round = 0; round < kRounds; ++round) {
            renamed.arrive_and_wait();
            EXPECT_EQ(client.Result("GetFormPgto", json::array())["rows"][0][1],
                      "Rodada " + std::to_string(round));
            read.arrive_and_wait();
        }
    });
}

// An idle database thread watches for work a moment before it sleeps. A call that comes just
// as it gives up, or just after, must still wake a thread: the pauses here step across that
// moment, and each call has to be answered without the help of a next one.
TEST(Concurrency, ACallAfterAnyPauseIsAnsweredWithoutWaitingForAnother) {
    RunningServer server;
    RpcClient client(server.Port());
    for (int i = 0; i < 600; ++i) {
        const auto pause = std::chrono::microseconds(i % 300);
        std::this_thread::sleep_for(pause);
        client.Write(RequestLine("GetDiaPgto", json::array({"01"}), i) + "\n");
        ASSERT_TRUE(client.WaitReadable(std::chrono::seconds(5)))
            << "no answer to call " << i << " after a pause of " << pause.count() << " µs";
        client.ReadLine();
    }
}

} // namespace
