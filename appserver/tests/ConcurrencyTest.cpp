#include "Packets.h"
#include "RpcClient.h"
#include "RunningServer.h"

#include <atomic>
#include <barrier>
#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;

const char* const kChanged = "Registro alterado ou excluído por outro usuário.";

/// Runs work(i) for i in [0, count) on threads of their own and waits for all.
template <typename Work> void OnThreads(int count, Work work) {
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(work, i);
    for (auto& thread : threads)
        thread.join();
}

// Two servers on one database, as a company with several application servers runs them: a
// client of each, and a delta made stale by the other server's client is still refused.
TEST(Concurrency, ClientsOfTwoServersWritingAtOnceLoseAndCorruptNothing) {
    RunningServer server;
    RunningServer secondServer(RunningServer::SameDatabaseAs{server});
    RpcClient setup(server.Port());
    setup.Result("SetFormPgto",
                 TermDelta({Insert(Term("01")), Insert(Term("02")), Insert(Term("09", "0"))}));
    // A change read through one server and made stale through the other is refused.
    RpcClient other(secondServer.Port());
    other.Result("SetFormPgto", TermDelta({Update(Term("09", "0"), Term("09", "1"))}));
    EXPECT_EQ(setup.Call("SetFormPgto",
                         TermDelta({Update(Term("09", "0"), Term("09", "2"))}))["error"]["message"],
              kChanged);
    constexpr int kRounds = 25;
    struct Outcome {
        int renamed = 0; // shared term renamed by this client
        int refused = 0; // rename refused: the other client got there first
        std::vector<std::string> unexpected;
    };
    Outcome outcomes[2];
    OnThreads(2, [&](int n) {
        const std::string code = n ? "02" : "01";
        Outcome& outcome = outcomes[n];
        RpcClient client(n ? secondServer.Port() : server.Port());
        for (int i = 0; i < kRounds; ++i) {
            // Own rows: every one must arrive.
            json day = Day(code, "01", "31", i < 10 ? "0" + std::to_string(i) : std::to_string(i));
            json response = client.Call("SetDiaPgto", DayDelta({Insert(day)}));
            if (!response.contains("result")) outcome.unexpected.push_back(response.dump());
            // The shared term: read, then rename from what was read.
            json shared = client.Result("GetFormPgto", json::array())["rows"][2];
            json renamed = shared;
            renamed[1] = code + "-" + std::to_string(i);
            response = client.Call("SetFormPgto", TermDelta({Update(shared, renamed)}));
            if (response.contains("result"))
                ++outcome.renamed;
            else if (response["error"]["message"] == kChanged)
                ++outcome.refused;
            else
                outcome.unexpected.push_back(response.dump());
        }
    });
    for (const auto& outcome : outcomes) {
        EXPECT_EQ(outcome.unexpected, std::vector<std::string>());
        EXPECT_EQ(outcome.renamed + outcome.refused, kRounds);
    }
    EXPECT_GE(outcomes[0].renamed + outcomes[1].renamed, kRounds); // one wins every round
    for (const char* code : {"01", "02"})
        EXPECT_EQ(setup.Result("GetDiaPgto", {code})["rows"].size(), std::size_t(kRounds)) << code;
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
    std::vector<json> terms, inserts;
    for (int i = 0; i < kClients; ++i) {
        terms.push_back(Term("W" + std::to_string(i)));
        inserts.push_back(Insert(terms.back()));
    }
    setup.Result("SetFormPgto", TermDelta(inserts));
    std::vector<std::vector<std::string>> failures(kClients);
    OnThreads(kClients, [&](int i) {
        RpcClient client(server.Port());
        auto& failed = failures[std::size_t(i)];
        auto call = [&](const char* method, const json& delta) {
            json answer = client.Call(method, delta);
            if (!answer.contains("result")) failed.push_back(answer.dump());
        };
        json term = terms[std::size_t(i)];
        for (int round = 0; round < kRounds; ++round) {
            const json day = Day(term[0], "01", "10", "10");
            const json moved = Day(term[0], "01", "10", "15");
            const json last = Day(term[0], "11", "31", "20");
            call("SetDiaPgto", DayDelta({Insert(day), Insert(last)}));
            // A row for a term that does not exist takes its whole delta back.
            if (client
                    .Call("SetDiaPgto",
                          DayDelta({Insert(moved), Insert(Day("77", "01", "31", "05"))}))
                    .contains("result"))
                failed.push_back("a day of term 77 was stored");
            if (client.Result("GetDiaPgto", json::array({term[0]}))["rows"].size() != 2)
                failed.push_back("round " + std::to_string(round) + ": not two days");
            call("SetDiaPgto", DayDelta({Update(day, moved)}));
            json renamed = term;
            renamed[1] = "Rodada " + std::to_string(round);
            call("SetFormPgto", TermDelta({Update(term, renamed)}));
            term = renamed;
            call("SetDiaPgto", DayDelta({Delete(moved), Delete(last)}));
        }
    });
    for (const auto& failed : failures)
        EXPECT_EQ(failed, std::vector<std::string>());
    for (const auto& term : terms)
        EXPECT_EQ(setup.Result("GetDiaPgto", json::array({term[0]}))["rows"].size(), 0u) << term[0];
}

// A day row stored while its term is deleted either is refused or goes with the term: the
// database never holds days of a term that is gone.
TEST(Concurrency, ADayRowNeverOutlivesItsTerm) {
    RunningServer server;
    RpcClient setup(server.Port());
    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        const json term =
            Term(std::string(1, static_cast<char>('A' + round % 26)) + std::to_string(round / 26));
        setup.Result("SetFormPgto", TermDelta({Insert(term)}));
        json dayAnswer;
        std::thread adder([&] {
            RpcClient client(server.Port());
            dayAnswer =
                client.Call("SetDiaPgto", DayDelta({Insert(Day(term[0], "01", "31", "05"))}));
        });
        RpcClient deleter(server.Port());
        deleter.Result("SetFormPgto", TermDelta({Delete(term)}));
        adder.join();
        if (!dayAnswer.contains("result")) {
            EXPECT_NE(dayAnswer["error"]["message"].get<std::string>().find("não cadastrada"),
                      std::string::npos)
                << dayAnswer;
        }
        EXPECT_EQ(setup.Result("GetDiaPgto", json::array({term[0]}))["rows"].size(), 0u) << term[0];
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
        RpcClient client(server.Port());
        client.Result("SetFormPgto", TermDelta({Insert(Term("01"))}));
        written = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the write is waiting
    for (int i = 0; i < 20; ++i) {
        const json terms = reader.Result("GetFormPgto", json::array());
        for (const auto& row : terms["rows"])
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
    std::vector<std::vector<std::string>> stale(kClients);
    std::thread renamer([&] {
        for (int round = 0; round < kRounds; ++round) {
            other->Execute(
                other->Dialect().Bind("UPDATE FORMPGTO SET NMFORMPGTO = ? WHERE CDFORMPGTO = '01'"),
                {std::string("Rodada ") + std::to_string(round)});
            renamed.arrive_and_wait();
            read.arrive_and_wait();
        }
    });
    OnThreads(kClients, [&](int i) {
        RpcClient client(server.Port());
        for (int round = 0; round < kRounds; ++round) {
            renamed.arrive_and_wait();
            const std::string name =
                client.Result("GetFormPgto", json::array())["rows"][0][1].get<std::string>();
            if (name != "Rodada " + std::to_string(round)) stale[std::size_t(i)].push_back(name);
            read.arrive_and_wait();
        }
    });
    renamer.join();
    for (const auto& names : stale)
        EXPECT_EQ(names, std::vector<std::string>());
}

} // namespace
