// The server killed with SIGKILL again and again while clients keep writing: every call is
// stored whole or not at all, every acknowledged change survives, the database stays sound.
// On the suite's backend: an SQLite file, or PostgreSQL when GER_TEST_POSTGRES is set.
#include "Packets.h"
#include "Program.h"
#include "RunningServer.h"

#include <atomic>
#include <csignal>
#include <deque>
#include <gtest/gtest.h>
#include <random>

namespace {

using nlohmann::json;
using namespace packets;
using namespace std::chrono_literals;

constexpr int kClients = 16, kKills = 50;

/// A client's term as the database holds it: how many rows of it (0 or 1), how many days.
using Stored = std::pair<std::size_t, std::size_t>;

/// A client that survives the server going away: a call gives null when the connection
/// broke, and the next one connects again (to the restarted server).
struct Survivor {
    json Send(const std::string& method, const json& params) {
        try {
            if (!client) client = std::make_unique<RpcClient>(port.load());
            json response = client->SendLine(RequestLine(method, params));
            if (response.is_null()) client.reset();
            return response;
        } catch (const std::exception&) {
            client.reset();
            std::this_thread::sleep_for(5ms);
            return nullptr;
        }
    }
    /// The stored state of code, read through the server once it answers again.
    Stored Read(const std::string& code) {
        for (;;) {
            const json terms = Send("GetVerCdForm", {code}), days = Send("GetDiaPgto", {code});
            if (!terms.is_null() && !days.is_null())
                return {terms["result"]["rows"].size(), days["result"]["rows"].size()};
        }
    }

    const std::atomic<unsigned short>& port;
    std::string code{}; ///< of the term it writes
    std::unique_ptr<RpcClient> client{};
    long acknowledged = 0, broken = 0;
    Stored last{}; ///< the state after the last call known to have happened
};

/// Inserts its term, gives it three days, deletes it, and again, until stop.
void Write(const std::atomic<bool>& stop, Survivor& client) {
    const std::string& code = client.code;
    const struct {
        const char* method;
        json params;
        Stored after;
    } cycle[] = {
        {"SetFormPgto", TermDelta({Insert(Term(code))}), {1, 0}},
        {"SetDiaPgto",
         DayDelta({Insert(Day(code, "01", "10", "15")), Insert(Day(code, "11", "20", "25")),
                   Insert(Day(code, "21", "31", "05", 1.0, 1.0))}),
         {1, 3}},
        {"SetFormPgto", TermDelta({Delete(Term(code))}), {0, 0}}};
    for (std::size_t next = 0; !stop;) {
        const auto& step = cycle[next % 3];
        const json response = client.Send(step.method, step.params);
        if (response.contains("result")) {
            ++client.acknowledged;
            client.last = step.after;
            ++next;
            continue;
        }
        // Broken or refused: the call happened whole or not at all.
        ++client.broken;
        const Stored stored = client.Read(code);
        if (stored == step.after) {
            client.last = step.after;
            ++next;
        } else if (stored != client.last) {
            ADD_FAILURE() << code << " #" << next << " stored " << json(stored) << " after "
                          << response; // neither before nor after the call
            client.last = stored;      // go on from what is there
            next = stored.first == 0 ? 0 : (stored.second == 0 ? 1 : 2);
        }
    }
}

TEST(Crash, KilledServerLosesNoAcknowledgedChangeAndHalfAppliesNone) {
    TestDatabase database;
    const std::string& db = database.Url();
    auto server = std::make_unique<Program>(std::vector<std::string>{
        "--listen", "127.0.0.1:0", "--db", db, "--init-db", "--log-level", "warn"});
    std::atomic<unsigned short> port = PortOf(server->ReadLine());
    ASSERT_NE(port, 0);
    std::atomic<bool> stop{false};
    std::deque<Survivor> tallies;
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i)
        clients.emplace_back(
            Write, std::cref(stop),
            std::ref(tallies.emplace_back(port, std::string{'K', "0123456789ABCDEF"[i]})));
    std::mt19937 random(6700);
    std::uniform_int_distribution<int> uptimeMs(30, 250);
    for (int kill = 0; kill < kKills; ++kill) {
        std::this_thread::sleep_for(std::chrono::milliseconds(uptimeMs(random)));
        server->Signal(SIGKILL);
        server->Wait();
        server = std::make_unique<Program>(std::vector<std::string>{
            "--listen", "127.0.0.1:" + std::to_string(port), "--db", db, "--log-level", "warn"});
        ASSERT_EQ(PortOf(server->ReadLine()), port) << "restart " << kill;
    }
    std::this_thread::sleep_for(200ms); // the last start serves some calls too
    stop = true;
    for (auto& client : clients)
        client.join();

    long acknowledged = 0, broken = 0;
    Survivor reader{port};
    for (const Survivor& tally : tallies) {
        SCOPED_TRACE(tally.code);
        EXPECT_EQ(reader.Read(tally.code), tally.last);
        acknowledged += tally.acknowledged;
        broken += tally.broken;
    }
    server->Signal(SIGTERM);
    EXPECT_EQ(server->Wait(), 0);
    // Calls were in flight at many of the kills, and the clients got work done between them.
    EXPECT_GE(broken, kKills);
    EXPECT_GE(acknowledged, 10 * kKills);
    const auto storage = ger::StorageFactory(db).Open();
    // No day outlived its term, whichever call a kill broke.
    EXPECT_EQ(storage->Query("SELECT COUNT(*) FROM DIAPGTO D WHERE NOT EXISTS "
                             "(SELECT 1 FROM FORMPGTO F WHERE F.CDFORMPGTO = D.CDFORMPGTO)"),
              std::vector<ger::SqlRow>{{ger::SqlValue(std::int64_t{0})}});
    if (!database.IsPostgres()) {
        EXPECT_EQ(storage->Query("PRAGMA integrity_check"),
                  std::vector<ger::SqlRow>{{ger::SqlValue(std::string("ok"))}});
    }
    std::printf("crash: %d kills, %ld calls acknowledged, %ld broken\n", kKills, acknowledged,
                broken);
}

} // namespace
