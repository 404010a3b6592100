// The client's link to the server (platform/net) and CheckResultServ against the real server;
// opening, refusals and a server that is not there are what the scenario sessions show.
#include "net/NetConnection.h"
#include "RunningServer.h"
#include "app/Application.h"
#include "core/Abort.h"
#include "shared/Consiste.h"
#include "shared/HostConfig.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using nlohmann::json;

/// A connection set up as the screen sets up its own: server name, address from BeforeConnect.
class NetConnection : public ::testing::Test {
protected:
    explicit NetConnection(ger::ConnectionLimits limits = {}, ger::AccessToken token = {})
        : server(16 * 1024 * 1024, limits, std::move(token)) {
        connection.ServerName = "Ger06700.rdmFormPgto";
        connection.BeforeConnect = [this](plat::TNetConnection& net) {
            ++connects;
            net.Host = "127.0.0.1";
            net.Port = server.Port();
        };
    }
    json Call(const std::string& method, const json& args = json::array()) {
        return connection.AppServer().Call(method, args);
    }
    /// The text of the EDatabaseError the next call raises.
    std::string Failure() {
        try {
            ADD_FAILURE() << "no error: " << Call("GetFormPgto");
        } catch (const plat::EDatabaseError& error) {
            return error.what();
        }
        return "";
    }

    RunningServer server;
    plat::TComponent owner;
    plat::TNetConnection& connection = owner.Create<plat::TNetConnection>("netFormPgto");
    int connects = 0;
};

// A lost server gives a clear error and a later call connects again; a silent one raises once
// the receive timeout is over.
TEST_F(NetConnection, ALostOrSilentServerGivesAClearErrorAndALaterCallReconnects) {
    EXPECT_TRUE(Call("GetFormPgto").contains("result"));
    EXPECT_EQ(connects, 1); // a call connects a closed connection
    server.Stop();          // the open session is noticed as closed, and connected anew
    const std::string where = "Falha na comunicação com o servidor de aplicação (127.0.0.1:" +
                              std::to_string(server.Port()) + "): ";
    EXPECT_EQ(Failure().substr(0, where.size()), where);
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(connects, 2);
    server.Start();
    EXPECT_TRUE(Call("GetFormPgto").contains("result"));
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 3);

    connection.Close();
    asio::io_context io;
    asio::ip::tcp::acceptor silent(io, {asio::ip::make_address("127.0.0.1"), 0});
    connection.BeforeConnect = [&](plat::TNetConnection& net) {
        net.Host = "127.0.0.1";
        net.Port = silent.local_endpoint().port();
    };
    connection.ReceiveTimeout = 1;
    EXPECT_NE(Failure().find("não respondeu"), std::string::npos);
    EXPECT_FALSE(connection.Connected());
}

// Answers that are no JSON-RPC response: one dialog each, then the abort. (Every call of the
// screen goes through CheckResultServ: its answers are the scenario sessions'.)
TEST_F(NetConnection, CheckResultServReportsAnInvalidAnswerOnceAndAborts) {
    auto& dialogs = plat::Application().Headless();
    for (const json& response :
         {json::array({1, 2}), json({{"jsonrpc", "2.0"}, {"id", 1}}), json({{"error", "texto"}})}) {
        SCOPED_TRACE(response.dump());
        dialogs.ClearTranscript();
        EXPECT_THROW(plat::CheckResultServ(response, true, 0), plat::EAbort);
        ASSERT_EQ(dialogs.Transcript().size(), 1u);
        EXPECT_EQ(dialogs.Transcript()[0].kind, plat::DialogRecord::Kind::Error);
        EXPECT_EQ(dialogs.Transcript()[0].text, "Resposta inválida do servidor de aplicação.");
    }
}

const std::string kSecret = "segredo-de-teste-0123456789";

/// A server that wants a token and closes connections idle for 300 ms.
class NetConnectionLogin : public NetConnection {
protected:
    NetConnectionLogin()
        : NetConnection({.idleTimeout = std::chrono::milliseconds(300)},
                        ger::AccessToken::FromText(kSecret)) {}
    void TearDown() override { plat::HostConfig::ClearOverrides(); }
};

// Only the token opens a connection: a call before logging in, a login of the wrong shape, a
// longer guess that starts with the token, or one wrong in its last character is refused.
TEST_F(NetConnectionLogin, OnlyTheTokenOpensAConnection) {
    const auto login = [](const json& params) {
        return json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "Login"}, {"params", params}}.dump();
    };
    const std::string wrongLast = kSecret.substr(0, kSecret.size() - 1) + "x";
    for (const std::string& first :
         {RequestLine("GetFormPgto", json::array()), login({kSecret, kSecret}),
          login({kSecret + "x"}), login({wrongLast})}) {
        SCOPED_TRACE(first);
        RpcClient client(server.Port());
        EXPECT_EQ(client.SendLine(first)["error"]["code"], 3);
        EXPECT_EQ(client.ReadLine(), "") << "still open";
    }
    RpcClient client(server.Port());
    EXPECT_EQ(client.SendLine(login({kSecret}))["result"], true);
    EXPECT_EQ(client.Result("GetFormPgto", json::array())["rows"], json::array());
}

// The token of the host's configuration opens every connection, a wrong one raises; a
// connection the server closed as idle is opened again by the next call.
TEST_F(NetConnectionLogin, TheConfiguredTokenLogsInAndAnIdleCloseIsMendedByTheNextCall) {
    TempFolder folder;
    const auto path = (folder.path / "token").string();
    EXPECT_EQ(Call("GetFormPgto")["error"]["code"], 3);
    std::ofstream(path) << "segredo-de-teste-012345678\n";
    plat::HostConfig::SetOverride("server.token-file", path);
    connection.Close();
    EXPECT_NE(Failure().find("código de acesso inválido"), std::string::npos);
    std::ofstream(path) << kSecret << "\n";
    connection.Close();
    EXPECT_TRUE(Call("GetFormPgto").contains("result"));
    const int before = connects;
    std::this_thread::sleep_for(std::chrono::milliseconds(900)); // the server closes it idle
    EXPECT_TRUE(Call("GetFormPgto").contains("result"));
    EXPECT_EQ(connects, before + 1);
}

} // namespace
