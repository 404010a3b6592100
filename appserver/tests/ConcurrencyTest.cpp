#include "Packets.h"
#include "RunningServer.h"

#include <atomic>
#include <barrier>
#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;
using Failures = std::vector<std::string>;

const char* const kChanged = "Registro alterado ou excluído por outro usuário.";

/// Runs work(i) for i in [0, count) on threads of their own and waits for all.
template <typename Work> void OnThreads(int count, Work work) {
    std::vector<std::jthread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(work, i);
}

std::size_t DayCount(RpcClient& client, const json& code) {
    return client.Result("GetDiaPgto", json::array({code}))["rows"].size();
}

// Two servers on one database, as a company with several application servers runs them: a
// delta made stale through the other server is refused, and clients of both renaming one term
// at once lose nothing: each rename either is stored or is refused as stale.
TEST(Concurrency, ClientsOfTwoServersWritingAtOnceLoseAndCorruptNothing) {
    RunningServer server, secondServer(RunningServer::SameDatabaseAs{server});
    RpcClient setup(server.Port());
    setup.Result("SetFormPgto",
                 TermDelta({Insert(Term("01")), Insert(Term("02")), Insert(Term("09", "0"))}));
    RpcClient(secondServer.Port())
        .Result("SetFormPgto", TermDelta({Update(Term("09", "0"), Term("09", "1"))}));
    EXPECT_EQ(setup.Call("SetFormPgto",
                         TermDelta({Update(Term("09", "0"), Term("09", "2"))}))["error"]["message"],
              kChanged);
    constexpr int kRounds = 25;
    int renamed[2] = {0, 0};
    Failures unexpected[2];
    OnThreads(2, [&](int n) {
        const std::string code = n ? "02" : "01";
        RpcClient client(n ? secondServer.Port() : server.Port());
        for (int i = 0; i < kRounds; ++i) {
            // Own rows: every one must arrive.
            json response = client.Call(
                "SetDiaPgto", DayDelta({Insert(Day(code, "01", "31", std::to_string(10 + i)))}));
            if (!response.contains("result")) unexpected[n].push_back(response.dump());
            // The shared term: read, then rename from what was read.
            const json shared = client.Result("GetFormPgto", json::array())["rows"][2];
            json name = shared;
            name[1] = code + "-" + std::to_string(i);
            response = client.Call("SetFormPgto", TermDelta({Update(shared, name)}));
            if (response.contains("result"))
                ++renamed[n];
            else if (response["error"]["message"] != kChanged)
                unexpected[n].push_back(response.dump());
        }
    });
    EXPECT_EQ(unexpected[0], Failures());
    EXPECT_EQ(unexpected[1], Failures());
    EXPECT_GE(renamed[0] + renamed[1], kRounds); // one wins every round
    EXPECT_EQ(DayCount(setup, "01"), std::size_t(kRounds));
    EXPECT_EQ(DayCount(setup, "02"), std::size_t(kRounds));
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
    std::vector<Failures> failures(kClients);
    OnThreads(kClients, [&](int i) {
        RpcClient client(server.Port());
        Failures& failed = failures[std::size_t(i)];
        const auto call = [&](const char* method, const json& delta) {
            const json answer = client.Call(method, delta);
            if (!answer.contains("result")) failed.push_back(answer.dump());
        };
        json term = inserts[std::size_t(i)]["new"];
        const json day = Day(term[0], "01", "10", "10"), moved = Day(term[0], "01", "10", "15"),
                   last = Day(term[0], "11", "31", "20");
        for (int round = 0; round < kRounds; ++round) {
            call("SetDiaPgto", DayDelta({Insert(day), Insert(last)}));
            // A row for a term that does not exist takes its whole delta back.
            if (client
                    .Call("SetDiaPgto",
                          DayDelta({Insert(moved), Insert(Day("77", "01", "31", "05"))}))
                    .contains("result"))
                failed.push_back("a day of term 77 was stored");
            if (DayCount(client, term[0]) != 2) failed.push_back("not two days");
            call("SetDiaPgto", DayDelta({Update(day, moved)}));
            json renamed = term;
            renamed[1] = "Rodada " + std::to_string(round);
            call("SetFormPgto", TermDelta({Update(term, renamed)}));
            term = renamed;
            call("SetDiaPgto", DayDelta({Delete(moved), Delete(last)}));
        }
    });
    for (int i = 0; i < kClients; ++i) {
        EXPECT_EQ(failures[std::size_t(i)], Failures()) << i;
        EXPECT_EQ(DayCount(setup, inserts[std::size_t(i)]["new"][0]), 0u) << i;
    }
}

// A day row stored while its term is deleted either is refused or goes with the term: the
// database never holds days of a term that is gone.
TEST(Concurrency, ADayRowNeverOutlivesItsTerm) {
    RunningServer server;
    RpcClient setup(server.Port()), deleter(server.Port()), adder(server.Port());
    for (int round = 0; round < 30; ++round) {
        const json term = Term({char('A' + round % 26), char('0' + round / 26)});
        setup.Result("SetFormPgto", TermDelta({Insert(term)}));
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
        EXPECT_EQ(DayCount(setup, term[0]), 0u) << term[0];
    }
}

// Another program holding the write lock delays the writes only; reads go on: they are all
// answered while a write waits for that program, which commits only after them.
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

// Reads that arrive together may share one snapshot; it must begin after each of them arrived.
// Round by round another program renames a term, and then many clients read at once: every
// one sees that round's name, never an earlier one kept from a snapshot taken before.
TEST(Concurrency, ReadsArrivingTogetherSeeEveryChangeCommittedBeforeThem) {
    RunningServer server;
    RpcClient(server.Port()).Result("SetFormPgto", TermDelta({Insert(Term("01"))}));
    auto other = server.OpenStorage();
    constexpr int kClients = 8, kRounds = 30;
    std::barrier renamed(kClients + 1), read(kClients + 1);
    std::vector<Failures> stale(kClients);
    std::jthread renamer([&] {
        for (int round = 0; round < kRounds; ++round) {
            other->Execute(
                other->Dialect().Bind("UPDATE FORMPGTO SET NMFORMPGTO = ? WHERE CDFORMPGTO = '01'"),
                {"Rodada " + std::to_string(round)});
            renamed.arrive_and_wait();
            read.arrive_and_wait();
        }
    });
    OnThreads(kClients, [&](int i) {
        RpcClient client(server.Port());
        for (int round = 0; round < kRounds; ++round) {
            renamed.arrive_and_wait();
            const std::string name = client.Result("GetFormPgto", json::array())["rows"][0][1];
            if (name != "Rodada " + std::to_string(round)) stale[std::size_t(i)].push_back(name);
            read.arrive_and_wait();
        }
    });
    renamer.join();
    for (const auto& names : stale)
        EXPECT_EQ(names, Failures());
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
