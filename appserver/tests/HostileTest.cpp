// The program under attack from loopback: every hostile request gets its refusal or its close,
// the process stays up and small, a bystander is served all along, the data stays as it was.
// Random input to the parsers is the fuzz targets'; here goes one request per kind of fault.
#include "Packets.h"
#include "Program.h"
#include "RunningServer.h"

#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;
using namespace std::chrono_literals;

struct Attack {
    std::string name, bytes;
    int code = 0; ///< of the error, the connection still serving; 0: it closes
};

std::string Request(const std::string& method, const json& params) {
    return RequestLine(method, params) + "\n";
}
std::string Repeated(std::size_t count, const std::string& item, const std::string& between = "") {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i ? between : "") + item;
    return text;
}

std::vector<Attack> Attacks() {
    const int parse = -32700, invalid = -32600, unknown = -32601, params = -32602, refused = 1;
    const std::string get = R"({"jsonrpc":"2.0","id":7,"method":"Ger06700.rdmFormPgto.Get)";
    const auto raw = [](std::string name, std::string line, int code) {
        return Attack{std::move(name), std::move(line) + "\n", code};
    };
    const auto call = [](std::string name, const std::string& method, const json& args, int code) {
        return Attack{std::move(name), Request(method, args), code};
    };
    const json day = Day("01", "01", "31", "05");
    return {
        raw("overlong UTF-8", get + "DiaPgto\",\"params\":[\"\xC0\xAF\"]}", parse),
        raw("lone surrogate", get + "DiaPgto\",\"params\":[\"\\ud800\"]}", parse),
        raw("number beyond double", get + "FormPgto\",\"params\":[],\"x\":1e400}", parse),
        raw("100000 nested arrays",
            get + "FormPgto\",\"params\":" + Repeated(100000, "[") + Repeated(100000, "]") + "}",
            invalid),
        raw("80000 empty objects",
            get + "FormPgto\",\"params\":[" + Repeated(80000, "{}", ",") + "]}", invalid),
        raw("repeated method key",
            get + R"(FormPgto","method":"Ger06700.rdmFormPgto.SetFormPgto","params":[]})", invalid),
        // A NUL must not cut the name short, and 100 kB of it must not come back.
        call("method with NUL and 100 kB",
             "GetFormPgto" + std::string(1, '\0') + std::string(100000, 'M'), json::array(),
             unknown),
        call("code of 10 kB", "GetVerCdForm", {std::string(10000, '0')}, params),
        call("code with NUL", "GetDiaPgto", {std::string("0\0", 2)}, params),
        call("too many changes", "SetDiaPgto", DayDelta(std::vector<json>(1001, Insert(day))),
             params),
        call("month 1e300", "SetDiaPgto", DayDelta({Insert(Day("01", "01", "31", "05", 1e300))}),
             refused),
        call("term code of 10 kB", "SetFormPgto",
             TermDelta({Insert(Term(std::string(10000, 'A')))}), refused),
        call("name with NUL", "SetFormPgto",
             TermDelta({Insert(Term("09", std::string("a\0b", 3)))}), refused),
        call("old row with NUL", "SetFormPgto",
             TermDelta({Update(Term(std::string("0\0", 2)), Term("01"))}), refused),
        {"7 MB line of 100000 changes",
         Request("SetDiaPgto", DayDelta(std::vector<json>(100000, Insert(day))))},
        {"100 requests sent ahead of their answers",
         Repeated(100, Request("GetFormPgto", json::array()))},
        // Only a name is wide enough to carry SQL past the checks; the delete finds no row.
        call("SQL in a name", "SetFormPgto",
             TermDelta({Insert(Term("08", "x';DROP TABLE FORMPGTO;--")),
                        Delete(Term("77", "x' OR '1'='1"))}),
             refused),
    };
}

/// What both tables hold, row by row.
std::vector<ger::SqlRow> Contents(const ger::StorageFactory& factory) {
    auto storage = factory.Open();
    auto rows = storage->Query("SELECT * FROM FORMPGTO ORDER BY 1");
    for (auto& row : storage->Query("SELECT * FROM DIAPGTO ORDER BY 1, 2"))
        rows.push_back(std::move(row));
    return rows;
}

/// Keeps asking for the term list on its own connection; Check() stops it and checks that
/// every call was answered, none after more than 10 s.
struct Bystander {
    explicit Bystander(unsigned short port) : client(port) {}
    void Check() {
        thread.request_stop();
        thread.join();
        EXPECT_FALSE(failed);
        EXPECT_GT(calls, 0);
        EXPECT_LT(longest.load(), 10s);
    }

    RpcClient client;
    std::atomic<bool> failed = false;
    std::atomic<int> calls = 0;
    std::atomic<std::chrono::steady_clock::duration> longest{};
    std::jthread thread{[this](std::stop_token stop) {
        while (!stop.stop_requested() && !failed) {
            const auto start = std::chrono::steady_clock::now();
            failed = !client.SendLine(Request("GetFormPgto", json::array())).contains("result");
            longest = std::max(longest.load(), std::chrono::steady_clock::now() - start);
            ++calls;
            std::this_thread::sleep_for(20ms);
        }
    }};
};

/// The code of the error line a closing connection sends, 0 when it sent none (the line may be
/// lost when the server closes on input it did not read); fails unless the connection closes.
int ClosingError(RpcClient& client) {
    const std::string line = client.ReadLine();
    EXPECT_EQ(client.ReadLine(), "") << "still open";
    return line.empty() ? 0 : json::parse(line)["error"].value("code", 0);
}

/// The program started with options on a fresh database of two terms with their days (and
/// extraTerms more); before is what the database holds once set up.
struct Served {
    explicit Served(const std::vector<std::string>& options, int extraTerms = 0,
                    long maxDescriptors = 0) {
        std::signal(SIGPIPE, SIG_IGN);
        std::vector<std::string> arguments{"--listen",  "127.0.0.1:0", "--db", database.Url(),
                                           "--init-db", "--log-level", "error"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        program.emplace(arguments, maxDescriptors);
        port = PortOf(program->ReadLine());
        RpcClient setup(port);
        std::vector<json> terms{Insert(Term("01", "Trinta dias")),
                                Insert(Term("02", "Semana", "EMIN", "FORA_SEMANA", "S"))};
        for (int i = 0; i < extraTerms; ++i)
            terms.push_back(
                Insert(Term({char('A' + i / 26), char('a' + i % 26)}, std::string(30, 'N'))));
        setup.Result("SetFormPgto", TermDelta(terms));
        setup.Result("SetDiaPgto", DayDelta({Insert(Day("01", "01", "31", "10", 1.0, 1.0)),
                                             Insert(Day("02", "01", "07", "06"))}));
        before = Contents(factory);
        EXPECT_EQ(before.size(), 4u + extraTerms);
    }
    /// A client the server serves: connects until a call is answered (the server learns of a
    /// close a moment after it, and may still count a client that left).
    std::unique_ptr<RpcClient> Admitted() {
        for (int attempt = 0; attempt < 100; ++attempt, std::this_thread::sleep_for(50ms)) {
            auto client = std::make_unique<RpcClient>(port);
            if (client->SendLine(Request("GetVerCdForm", {"01"})).contains("result")) return client;
        }
        ADD_FAILURE() << "no connection was served";
        return std::make_unique<RpcClient>(port);
    }

    TestDatabase database;
    ger::StorageFactory factory{database.Url()};
    std::optional<Program> program;
    unsigned short port = 0;
    std::vector<ger::SqlRow> before;
};

TEST(Hostile, RequestsAreRefusedWhileTheServerStaysUpSmallAndServing) {
    Served site({});
    Bystander bystander(site.port);
    long largestKb = 0;
    for (const auto& attack : Attacks()) {
        SCOPED_TRACE(attack.name);
        RpcClient client(site.port);
        client.TryWrite(attack.bytes);
        if (attack.code == 0) {
            ClosingError(client);
        } else {
            const std::string line = client.ReadLine();
            ASSERT_FALSE(line.empty()) << "no answer";
            const json error = json::parse(line).value("error", json::object());
            EXPECT_EQ(error.value("code", 0), attack.code) << line;
            const std::string message = error.value("message", "");
            EXPECT_FALSE(message.empty());
            EXPECT_LT(message.size(), 400u) << "the refusal should not echo the attack";
            EXPECT_TRUE(client.SendLine(Request("GetVerCdForm", {"01"})).contains("result"));
        }
        ASSERT_TRUE(site.program->Alive());
        largestKb = std::max(largestKb, site.program->ResidentKb());
    }
    bystander.Check();
    EXPECT_LT(largestKb, 200 * 1024);
    EXPECT_EQ(Contents(site.factory), site.before);
    site.program->Signal(SIGTERM);
    EXPECT_EQ(site.program->Wait(), 0);
}

TEST(Hostile, ConnectionsAndTheBytesTheyHoldAreBounded) {
    Served site({"--max-connections", "4", "--max-buffered-bytes", "150000"});
    {
        std::vector<std::unique_ptr<RpcClient>> held;
        for (int i = 0; i < 4; ++i)
            held.push_back(site.Admitted());
        RpcClient fifth(site.port);
        EXPECT_EQ(ClosingError(fifth), -32603);
        held.pop_back();
        site.Admitted(); // served once one has left
    }
    // Three unfinished lines of 60,000 bytes, each sent as soon as an answer came: together
    // beyond the bound, so exactly one connection is refused, whichever the server read last;
    // the others finish and are served.
    const std::string blanks(60000, ' ');
    std::vector<std::unique_ptr<RpcClient>> writers;
    for (int i = 0; i < 3; ++i) {
        writers.push_back(site.Admitted());
        writers.back()->TryWrite(blanks);
    }
    std::size_t refused = writers.size();
    for (int round = 0; round < 200 && refused == writers.size(); ++round)
        for (std::size_t i = 0; i < writers.size() && refused == writers.size(); ++i)
            if (writers[i]->WaitReadable(10ms)) refused = i;
    ASSERT_LT(refused, writers.size()) << "no connection was refused";
    const int code = ClosingError(*writers[refused]);
    EXPECT_TRUE(code == 0 || code == -32603) << code;
    for (std::size_t i = 0; i < writers.size(); ++i)
        if (i != refused) {
            EXPECT_TRUE(
                writers[i]->SendLine(Request("GetFormPgto", json::array())).contains("result"));
        }
    writers.clear();
    // The bytes of finished lines no longer count: a line of the same size is served again.
    EXPECT_TRUE(site.Admitted()
                    ->SendLine(blanks + Request("GetFormPgto", json::array()))
                    .contains("result"));
    EXPECT_EQ(Contents(site.factory), site.before);
}

TEST(Hostile, OutOfDescriptorsClientsAreToldSoWhileTheServerWaitsIdle) {
    Served site({}, 0, 64);
    std::vector<std::unique_ptr<RpcClient>> clients;
    for (int i = 0; i < 80; ++i)
        clients.push_back(std::make_unique<RpcClient>(site.port));
    // Out of descriptors, the server refuses one waiting client at a time and waits between:
    // over a second it must not keep a processor busy retrying the accept.
    const double cpuBefore = site.program->CpuSeconds();
    std::this_thread::sleep_for(1s);
    EXPECT_LT(site.program->CpuSeconds() - cpuBefore, 0.3);
    int refused = 0;
    for (auto& client : clients)
        if (client->WaitReadable(1ms)) {
            const json error = json::parse(client->ReadLine())["error"];
            EXPECT_EQ(error["message"], "O servidor de aplicação não tem recursos para mais uma "
                                        "conexão agora; tente novamente em instantes.");
            EXPECT_EQ(client->ReadLine(), "") << "still open";
            ++refused;
        }
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, 80) << "the descriptors it had were used";
    // Once clients leave, it serves again.
    clients.clear();
    site.Admitted();
    EXPECT_EQ(Contents(site.factory), site.before);
}

TEST(Hostile, ClientsTooSlowToSendOrToReadAreDropped) {
    // Requests sent ahead are bounded loosely here, so that only the send timeout drops the
    // client that never reads.
    Served site({"--line-timeout", "1", "--send-timeout", "1", "--idle-timeout", "2",
                 "--max-queued-requests", "1000"},
                200);
    Bystander bystander(site.port);
    const std::string request = Request("GetFormPgto", json::array());
    {
        // One byte at a time: the line is never finished before the server gives up on it.
        RpcClient slow(site.port);
        std::size_t sent = 0;
        while (sent < request.size() && !slow.WaitReadable(300ms) &&
               slow.TryWrite(request.substr(sent, 1)))
            ++sent;
        EXPECT_LT(sent, request.size());
        EXPECT_EQ(ClosingError(slow), -32600);
    }
    {
        RpcClient idle(site.port);
        EXPECT_TRUE(idle.WaitReadable(20s));
        EXPECT_EQ(idle.ReadLine(), ""); // closed without a word
    }
    {
        // Slow to read but reading: an answer larger than the socket takes at once arrives
        // whole and in order, the rest written once the client makes room.
        RpcClient slowReader(site.port, 4096);
        slowReader.Write(Repeated(3, request));
        std::this_thread::sleep_for(300ms);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(json::parse(slowReader.ReadLine())["result"]["rows"].size(), 202u);
    }
    // A client that asks for the 202 terms again and again and never reads the answers: the
    // server stops reading it once an answer cannot be written, and drops it.
    const long startKb = site.program->ResidentKb();
    long largestKb = startKb;
    std::atomic<bool> dropped = false;
    std::thread deaf([&] {
        RpcClient client(site.port, 4096);
        while (client.TryWrite(Repeated(4, request))) {
        }
        dropped = true;
    });
    for (; !dropped; std::this_thread::sleep_for(50ms))
        largestKb = std::max(largestKb, site.program->ResidentKb());
    deaf.join();
    EXPECT_LT(largestKb - startKb, 32 * 1024);
    bystander.Check();
    EXPECT_EQ(Contents(site.factory), site.before);
}

} // namespace
