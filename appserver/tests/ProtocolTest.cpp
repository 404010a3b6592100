#include "RunningServer.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

/// A request of id 1 for method of this module, with the members that follow it.
std::string Call(const std::string& method, const std::string& rest = R"("params":[])") {
    return R"({"jsonrpc":"2.0","id":1,"method":"Ger06700.rdmFormPgto.)" + method + "\"," + rest +
           "}";
}

// One bad request per kind of fault gets its error, the connection still serving; pipelined
// requests are answered in order, notifications and blank lines not at all; a line over the
// limit is answered, then its connection closes, and no other.
TEST(Protocol, BadRequestsGetErrorsPipelinedOnesComeInOrderAndOverlongLinesClose) {
    const struct {
        std::string line;
        int code;
        bool echoesId; // the answer carries the request's id (1) rather than null
    } cases[] = {
        {"this is not json", -32700, false},
        {"[1,2,3]", -32600, false},
        {R"({"jsonrpc":"2.0","id":{"a":1},"method":"Ger06700.rdmFormPgto.GetFormPgto"})", -32600,
         false},
        {R"({"id":1,"method":"Ger06700.rdmFormPgto.GetFormPgto","params":[]})", -32600, true},
        {R"({"jsonrpc":"2.0","id":1,"method":7,"params":[]})", -32600, true},
        {Call("Unknown"), -32601, true},
        {R"({"jsonrpc":"2.0","id":1,"method":"Other.module.GetFormPgto","params":[]})", -32601,
         true},
        {Call("GetFormPgto", R"("params":["x"])"), -32602, true},
        {Call("GetDiaPgto"), -32602, true},
        {Call("GetVerCdForm", R"("params":{"code":"01"})"), -32602, true},
    };
    RunningServer server(4096);
    RpcClient client(server.Port()), other(server.Port());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        json answer = client.SendLine(c.line);
        EXPECT_EQ(answer["jsonrpc"], "2.0");
        EXPECT_EQ(answer["error"]["code"], c.code);
        EXPECT_FALSE(answer["error"]["message"].get<std::string>().empty());
        EXPECT_EQ(answer["id"], c.echoesId ? json(1) : json(nullptr));
        // The same connection still serves a good request.
        EXPECT_EQ(client.Result("GetVerCdForm", {"01"})["rows"], json::array());
    }
    client.Write("\n" // blank lines are ignored
                 R"({"jsonrpc":"2.0","method":"Ger06700.rdmFormPgto.GetFormPgto","params":[]})"
                 "\n"
                 R"({"jsonrpc":"2.0","id":"a","method":"Ger06700.rdmFormPgto.GetFormPgto"})"
                 "\r\n" +
                 Call("Nope") + "\n");
    json first = json::parse(client.ReadLine());
    EXPECT_EQ(first["id"], "a"); // the notification got no answer; params may be left out
    EXPECT_EQ(first["result"]["fields"].size(), 7u);
    json second = json::parse(client.ReadLine());
    EXPECT_EQ(second["id"], 1);
    EXPECT_EQ(second["error"]["code"], -32601);

    // Sent as soon as an answer came: a line in two parts, and a login, which a server
    // without a token takes.
    const std::string line = Call("GetVerCdForm", R"("params":["01"])");
    client.Write(line.substr(0, 20));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    client.Write(line.substr(20) + "\n");
    EXPECT_EQ(json::parse(client.ReadLine())["result"]["rows"], json::array());
    EXPECT_EQ(client.SendLine(R"({"jsonrpc":"2.0","id":9,"method":"Login","params":["t"]})"),
              json({{"jsonrpc", "2.0"}, {"id", 9}, {"result", true}}));

    client.Write(std::string(5000, ' ') + "{}");
    json answer = json::parse(client.ReadLine());
    EXPECT_EQ(answer["error"]["code"], -32600);
    EXPECT_NE(answer["error"]["message"].get<std::string>().find("4096"), std::string::npos);
    EXPECT_EQ(client.ReadLine(), ""); // closed
    EXPECT_EQ(other.Result("GetFormPgto", json::array())["rows"], json::array());
}

} // namespace
