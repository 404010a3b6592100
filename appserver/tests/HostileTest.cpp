// The program under attack from loopback: every hostile request gets its refusal or its close,
// the process stays up and small, a well-behaved client is served all along, and the
// database ends as it began.
#include "Packets.h"
#include "Program.h"
#include "RpcClient.h"
#include "TestDatabase.h"
#include "rdm/Schema.h"
#include "storage/StorageFactory.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace {

using nlohmann::json;
using namespace packets;
using Clock = std::chrono::steady_clock;

struct Attack {
    std::string name;
    std::string bytes; ///< sent as is
    /// The error's code, the connection still serving; 0: at most one error line, then the
    /// connection closes.
    int code = 0;
};

const json Term01 = Term("01", "Trinta dias");
const json Day01 = Day("01", "01", "31", "10", 1.0, 1.0);

std::string Request(const std::string& method, const json& params) {
    return RequestLine(method, params) + "\n";
}
Attack Call(std::string name, const std::string& method, const json& params, int code) {
    return {std::move(name), Request(method, params), code};
}
Attack Raw(std::string name, std::string line, int code) {
    return {std::move(name), std::move(line) + "\n", code};
}
std::string Repeated(std::size_t count, const std::string& item, const std::string& between = "") {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i ? between : "") + item;
    return text;
}
std::string Nested(std::size_t depth, const std::string& open, const std::string& close) {
    return Repeated(depth, open) + Repeated(depth, close);
}

const std::string Envelope = R"({"jsonrpc":"2.0","id":7,"method":"Ger06700.rdmFormPgto.)";

// The plain protocol errors and refused values are the server suites' (on both backends);
// here go the inputs meant to crash, bloat or fool it.
std::vector<Attack> Attacks() {
    const int parse = -32700, invalid = -32600, unknown = -32601, params = -32602, refused = 1;
    const std::string sql = "x';DROP TABLE FORMPGTO;--";
    const auto day = [](json inicio) { return DayDelta({Insert(Day("01", inicio, "31", "05"))}); };
    std::vector<Attack> attacks{
        Raw("invalid UTF-8 in a string", Envelope + "GetDiaPgto\",\"params\":[\"\xC3\x28\"]}",
            parse),
        Raw("overlong UTF-8", Envelope + "GetDiaPgto\",\"params\":[\"\xC0\xAF\"]}", parse),
        Raw("lone surrogate", Envelope + "GetDiaPgto\",\"params\":[\"\\ud800\"]}", parse),
        Raw("bytes outside strings", "\xFF\xFE{}", parse),
        Raw("number beyond double", Envelope + "GetFormPgto\",\"params\":[],\"x\":1e400}", parse),
        Raw("100000 nested arrays in params",
            Envelope + "GetFormPgto\",\"params\":" + Nested(100000, "[", "]") + "}", invalid),
        Raw("100000 nested arrays in id",
            R"({"jsonrpc":"2.0","id":)" + Nested(100000, "[", "]") + "}", invalid),
        // Six bytes a level: as deep as fits in the longest line, so the depth check answers.
        Raw("40000 nested objects", Nested(40000, R"({"a":)", "}"), invalid),
        Raw("80000 empty objects",
            Envelope + "GetFormPgto\",\"params\":[" + Repeated(80000, "{}", ",") + "]}", invalid),
        Raw("repeated method key",
            Envelope + R"(GetFormPgto","method":"Ger06700.rdmFormPgto.SetFormPgto","params":[]})",
            invalid),
        Call("method with NUL", std::string("GetFormPgto\0x", 13), json::array(), unknown),
        Call("method of 100 kB", std::string(100000, 'M'), json::array(), unknown),
        Call("GetVerCdForm with a 10 kB code", "GetVerCdForm", {std::string(10000, '0')}, params),
        Call("GetDiaPgto with a NUL", "GetDiaPgto", {std::string("0\0", 2)}, params),
        Call("too many changes", "SetDiaPgto",
             DayDelta(std::vector<json>(1001, Insert(Day("01", "01", "31", "05")))), params),
        Call("month 1e300", "SetDiaPgto", DayDelta({Insert(Day("01", "01", "31", "05", 1e300))}),
             refused),
        Call("day with NUL", "SetDiaPgto", day(std::string("0\0", 2)), refused),
        Call("term code of 10 kB", "SetFormPgto",
             TermDelta({Insert(Term(std::string(10000, 'A')))}), refused),
        Call("name with NUL", "SetFormPgto",
             TermDelta({Insert(Term("09", std::string("a\0b", 3)))}), refused),
        Call("old row with NUL", "SetFormPgto",
             TermDelta({Update(Term(std::string("0\0", 2)), Term("01"))}), refused),
    };
    // SQL text in every field, in a delta whose other rows are sound and whose last change
    // deletes a row that is not there, so nothing of it may stay.
    for (const auto* table : {&ger::FormPgtoTable(), &ger::DiaPgtoTable()}) {
        const bool terms = table == &ger::FormPgtoTable();
        for (std::size_t column = 0; column < table->fields.size(); ++column) {
            json row = terms ? Term("08") : Day("01", "01", "31", "05");
            row[column] = sql;
            const json ghost = terms ? Term("77") : Day("01", "02", "03", "04");
            attacks.push_back(Call("SQL in " + table->fields[column].name,
                                   terms ? "SetFormPgto" : "SetDiaPgto",
                                   terms ? TermDelta({Insert(row), Delete(ghost)})
                                         : DayDelta({Insert(row), Delete(ghost)}),
                                   refused));
        }
    }
    attacks.push_back({"line over the limit", std::string(300 * 1024, ' ') + "{}\n"});
    attacks.push_back({"100 requests sent ahead of their answers",
                       Repeated(100, Request("GetFormPgto", json::array()))});
    attacks.push_back({"16 MiB of empty objects", Envelope + "GetFormPgto\",\"params\":[" +
                                                      Repeated(5'600'000, "{}", ",") + "]}\n"});
    attacks.push_back({"100000 changes in 7 MB",
                       Request("SetDiaPgto", DayDelta(std::vector<json>(100000, Insert(Day01))))});
    return attacks;
}

/// What both tables hold, row by row.
std::vector<ger::SqlRow> Contents(const ger::StorageFactory& factory) {
    auto storage = factory.Open();
    auto rows = storage->Query("SELECT * FROM FORMPGTO ORDER BY 1");
    for (auto& row : storage->Query("SELECT * FROM DIAPGTO ORDER BY 1, 2"))
        rows.push_back(std::move(row));
    return rows;
}

/// A client that keeps asking for the term list on its own connection and notes the longest
/// wait for an answer.
class WellBehavedClient {
public:
    explicit WellBehavedClient(unsigned short port) : client_(port) {
        thread_ = std::thread([this] {
            while (!stop_) {
                const auto start = Clock::now();
                const json answer = client_.SendLine(Request("GetFormPgto", json::array()));
                const auto waited = Clock::now() - start;
                if (!answer.is_object() || !answer.contains("result")) {
                    failed_ = true;
                    return;
                }
                calls_++;
                longest_ = std::max(longest_.load(), waited);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~WellBehavedClient() { Finish(); }
    void Finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int calls() const { return calls_; }
    bool failed() const { return failed_; }
    Clock::duration longest() const { return longest_; }

private:
    RpcClient client_;
    std::atomic<bool> stop_ = false, failed_ = false;
    std::atomic<int> calls_ = 0;
    std::atomic<Clock::duration> longest_ = Clock::duration::zero();
    std::thread thread_;
};

/// Sends an attack on a new connection and checks its outcome.
void Check(const Attack& attack, unsigned short port) {
    RpcClient client(port);
    client.TryWrite(attack.bytes);
    const std::string line = client.ReadLine();
    if (attack.code == 0) {
        // The error line may be lost when the server closes on unread input (a reset).
        if (!line.empty()) {
            EXPECT_TRUE(json::parse(line).contains("error")) << line;
        }
        EXPECT_EQ(client.ReadLine(), "");
        return;
    }
    ASSERT_FALSE(line.empty()) << "no answer";
    const json error = json::parse(line).value("error", json::object());
    EXPECT_EQ(error.value("code", 0), attack.code) << line;
    const std::string message = error.value("message", "");
    EXPECT_FALSE(message.empty());
    EXPECT_LT(message.size(), 400u) << "the refusal should not echo the attack";
    const json again = client.SendLine(Request("GetVerCdForm", {"01"}));
    EXPECT_TRUE(again.is_object() && again.contains("result")) << "connection unusable";
}

/// A Login line, without its newline.
std::string LoginLine(const json& params) {
    return json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "Login"}, {"params", params}}.dump();
}

/// The program on a fresh database of two terms with their days (and extraTerms more),
/// started with options; before is what the database holds once set up.
struct Served {
    explicit Served(const std::vector<std::string>& options, int extraTerms = 0,
                    const std::string& token = "") {
        std::signal(SIGPIPE, SIG_IGN);
        ger::Schema::Create(*factory.Open(true));
        std::vector<std::string> arguments{"--listen", "127.0.0.1:0", "--db",
                                           db,         "--log-level", "error"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        program.emplace(arguments);
        port = PortOf(program->ReadLine());
        RpcClient setup(port);
        if (!token.empty()) {
            EXPECT_EQ(setup.SendLine(LoginLine({token}))["result"], true);
        }
        std::vector<json> terms{Insert(Term01),
                                Insert(Term("02", "Semana", "EMIN", "FORA_SEMANA", "S"))};
        for (int i = 0; i < extraTerms; ++i)
            terms.push_back(
                Insert(Term({char('A' + i / 26), char('a' + i % 26)}, std::string(30, 'N'))));
        setup.Result("SetFormPgto", TermDelta(terms));
        setup.Result("SetDiaPgto", DayDelta({Insert(Day01), Insert(Day("02", "01", "07", "06"))}));
        before = Contents(factory);
        EXPECT_EQ(before.size(), 4u + extraTerms);
    }

    TestDatabase database;
    const std::string db = database.Url();
    ger::StorageFactory factory{db};
    std::optional<Program> program;
    unsigned short port = 0;
    std::vector<ger::SqlRow> before;
};

/// A client the server has taken: connects until a call is answered, as clients do once
/// others have left (the server learns of a close a moment after it).
std::unique_ptr<RpcClient> Admitted(unsigned short port) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto client = std::make_unique<RpcClient>(port);
        const json answer = client->SendLine(Request("GetVerCdForm", {"01"}));
        if (answer.is_object() && answer.contains("result")) return client;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "no connection was served";
    return std::make_unique<RpcClient>(port);
}

/// The code of the error line a closing connection sends, 0 when it sent none (the line may be
/// lost when the server closes on input it did not read); fails unless the connection closes.
int ClosingError(RpcClient& client) {
    const std::string line = client.ReadLine();
    EXPECT_EQ(client.ReadLine(), "") << "still open";
    return line.empty() ? 0 : json::parse(line)["error"].value("code", 0);
}

TEST(Hostile, RequestsAreRefusedWhileTheServerStaysUpSmallAndServing) {
    Served site({});
    const unsigned short port = site.port;
    Program& server = *site.program;
    const auto before = site.before;

    const long kMemoryBoundKb = 200 * 1024;
    const auto attacks = Attacks();
    WellBehavedClient bystander(port);
    long largestKb = 0;
    for (const auto& attack : attacks) {
        SCOPED_TRACE(attack.name);
        Check(attack, port);
        ASSERT_TRUE(server.Alive());
        largestKb = std::max(largestKb, server.ResidentKb());
    }
    bystander.Finish();
    EXPECT_FALSE(bystander.failed());
    EXPECT_GT(bystander.calls(), 0);
    EXPECT_LT(bystander.longest(), std::chrono::seconds(10));
    EXPECT_LT(largestKb, kMemoryBoundKb);
    EXPECT_EQ(Contents(site.factory), before);
    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0);
}

TEST(Hostile, ConnectionsAndTheBytesTheyHoldAreBounded) {
    Served site({"--max-connections", "4", "--max-buffered-bytes", "600000"});
    {
        std::vector<std::unique_ptr<RpcClient>> held;
        for (int i = 0; i < 4; ++i)
            held.push_back(Admitted(site.port));
        RpcClient fifth(site.port);
        EXPECT_EQ(ClosingError(fifth), -32603);
        held.pop_back();
        Admitted(site.port); // served once one has left
    }
    // Three unfinished lines of 250,000 bytes: together beyond the bound, so exactly one
    // connection is refused, whichever the server read last; the others finish and are served.
    const std::string blanks(250000, ' ');
    std::vector<std::unique_ptr<RpcClient>> writers;
    for (int i = 0; i < 3; ++i)
        writers.push_back(Admitted(site.port));
    for (auto& writer : writers)
        writer->TryWrite(blanks);
    std::size_t refused = writers.size();
    for (int round = 0; round < 200 && refused == writers.size(); ++round)
        for (std::size_t i = 0; i < writers.size() && refused == writers.size(); ++i)
            if (writers[i]->WaitReadable(std::chrono::milliseconds(10))) refused = i;
    ASSERT_LT(refused, writers.size()) << "no connection was refused";
    const int code = ClosingError(*writers[refused]);
    EXPECT_TRUE(code == 0 || code == -32603) << code;
    for (std::size_t i = 0; i < writers.size(); ++i)
        if (i != refused) {
            const json answer = writers[i]->SendLine(Request("GetFormPgto", json::array()));
            EXPECT_TRUE(answer.is_object() && answer.contains("result")) << i;
        }
    writers.clear();
    // The bytes of finished lines no longer count: a line of the same size is served again.
    auto late = Admitted(site.port);
    const json answer = late->SendLine(blanks + Request("GetFormPgto", json::array()));
    EXPECT_TRUE(answer.is_object() && answer.contains("result"));
    EXPECT_EQ(Contents(site.factory), site.before);
}

TEST(Hostile, ClientsTooSlowToSendOrToReadAreDropped) {
    // Requests sent ahead are bounded loosely here, so that only the send timeout drops the
    // client that never reads.
    Served site({"--line-timeout", "1", "--send-timeout", "1", "--idle-timeout", "2",
                 "--max-queued-requests", "1000"},
                200);
    WellBehavedClient bystander(site.port);
    {
        // One byte at a time: the line is never finished before the server gives up on it.
        RpcClient slow(site.port);
        const std::string request = Request("GetFormPgto", json::array());
        std::size_t sent = 0;
        while (sent < request.size() && !slow.WaitReadable(std::chrono::milliseconds(300)) &&
               slow.TryWrite(request.substr(sent, 1)))
            ++sent;
        EXPECT_LT(sent, request.size());
        EXPECT_EQ(ClosingError(slow), -32600);
    }
    {
        RpcClient idle(site.port);
        EXPECT_TRUE(idle.WaitReadable(std::chrono::seconds(20)));
        EXPECT_EQ(idle.ReadLine(), ""); // closed without a word
    }
    {
        // Slow to read but reading: an answer larger than the socket takes at once arrives
        // whole and in order, the rest written once the client makes room.
        RpcClient slowReader(site.port, 4096);
        slowReader.Write(Repeated(3, Request("GetFormPgto", json::array())));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(json::parse(slowReader.ReadLine())["result"]["rows"].size(), 202u);
    }
    // A client that asks for the 202 terms again and again and never reads the answers: the
    // server stops reading it once an answer cannot be written, and drops it.
    const long kGrowthBoundKb = 32 * 1024;
    const long startKb = site.program->ResidentKb();
    long largestKb = startKb;
    std::atomic<bool> dropped = false;
    std::thread deaf([&] {
        RpcClient client(site.port, 4096);
        const std::string requests = Repeated(4, Request("GetFormPgto", json::array()));
        while (client.TryWrite(requests)) {
        }
        dropped = true;
    });
    while (!dropped) {
        largestKb = std::max(largestKb, site.program->ResidentKb());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    deaf.join();
    EXPECT_LT(largestKb - startKb, kGrowthBoundKb);
    bystander.Finish();
    EXPECT_FALSE(bystander.failed());
    EXPECT_GT(bystander.calls(), 0);
    EXPECT_EQ(Contents(site.factory), site.before);
}

TEST(Hostile, OnlyTheTokenOpensAConnectionAndAnyAddressButLoopbackNeedsOne) {
    const std::string token = "c0ffee-0123456789-abcdef-segredo";
    TempFolder secrets;
    const auto write = [&](const std::string& name, const std::string& text) {
        const std::string path = (secrets.Path() / name).string();
        std::ofstream(path) << text << "\n";
        ::chmod(path.c_str(), 0600);
        return path;
    };
    const std::string tokenFile = write("token", token);
    Served site({"--token-file", tokenFile}, 0, token);
    std::string upper = token;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const struct {
        const char* name;
        std::string first; ///< the connection's first line
        bool opens;
    } cases[] = {
        {"a call without login", RequestLine("GetFormPgto", json::array()), false},
        {"login without params", R"({"jsonrpc":"2.0","id":1,"method":"Login"})", false},
        {"an empty token", LoginLine({""}), false},
        {"a guess one character short", LoginLine({token.substr(0, token.size() - 1)}), false},
        {"a guess wrong in the last character",
         LoginLine({token.substr(0, token.size() - 1) + "x"}), false},
        {"the token and one more character", LoginLine({token + "x"}), false},
        {"the token in capitals", LoginLine({upper}), false},
        {"the token twice", LoginLine({token, token}), false},
        {"the token", LoginLine({token}), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RpcClient client(site.port);
        const json answer = client.SendLine(c.first);
        ASSERT_TRUE(answer.is_object()) << "no answer";
        if (c.opens) {
            EXPECT_EQ(answer["result"], true) << answer;
            EXPECT_EQ(client.Result("GetFormPgto", json::array())["rows"].size(), 2u);
        } else {
            EXPECT_EQ(answer["error"]["code"], 3) << answer;
            EXPECT_EQ(client.ReadLine(), "") << "still open";
        }
    }
    EXPECT_EQ(Contents(site.factory), site.before);

    const struct {
        const char* name;
        std::vector<std::string> options;
        bool starts;
    } starts[] = {
        {"any address without a token", {"--listen", "0.0.0.0:0"}, false},
        {"a token too short",
         {"--listen", "127.0.0.1:0", "--token-file", write("short", "abc")},
         false},
        {"any address with a token", {"--listen", "0.0.0.0:0", "--token-file", tokenFile}, true},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.name);
        std::vector<std::string> arguments = start.options;
        for (const char* argument : {"--db", site.db.c_str(), "--log-level", "off"})
            arguments.push_back(argument);
        Program program(arguments);
        const auto line = program.ReadLine();
        EXPECT_EQ(line.has_value(), start.starts);
        if (start.starts) {
            EXPECT_EQ(line->rfind("listening on 0.0.0.0:", 0), 0u) << *line;
            program.Signal(SIGTERM);
            EXPECT_EQ(program.Wait(), 0);
        } else {
            EXPECT_EQ(program.Wait(), 1);
        }
    }
}

} // namespace
