// The client's link to the server (platform/net) and CheckResultServ against the real server.
#include "net/NetConnection.h"
#include "Packets.h"
#include "RunningServer.h"
#include "app/Application.h"
#include "core/Abort.h"
#include "shared/Consiste.h"
#include "shared/HostConfig.h"

#include <asio.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;

/// A connection set up as the screen sets up its own: server name, address from BeforeConnect.
/// Opening, the call observer and a refusal as response are what every scenario session shows.
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
    json Call(const std::string& method, const json& args) {
        return connection.AppServer().Call(method, args);
    }

    RunningServer server;
    plat::TComponent owner;
    plat::TNetConnection& connection = owner.Create<plat::TNetConnection>("netFormPgto");
    int connects = 0;
};

TEST_F(NetConnection, AStoppedServerGivesAClearErrorAndALaterCallReconnects) {
    EXPECT_TRUE(Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_EQ(connects, 1); // a call connects a closed connection

    server.Stop();
    const std::string where = "Falha na comunicação com o servidor de aplicação (127.0.0.1:" +
                              std::to_string(server.Port()) + "): ";
    for (int attempt = 0; attempt < 2;
         ++attempt) { // the closed session is noticed: each connects anew
        SCOPED_TRACE(attempt);
        try {
            Call("GetFormPgto", json::array());
            ADD_FAILURE() << "no error";
        } catch (const plat::EDatabaseError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, where.size()), where) << error.what();
        }
        EXPECT_FALSE(connection.Connected());
    }
    EXPECT_EQ(connects, 3);
    EXPECT_THROW(connection.Open(), plat::EDatabaseError);
    EXPECT_EQ(connects, 4);

    server.Restart();
    EXPECT_TRUE(Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 5);
}

TEST_F(NetConnection, ASilentServerRaisesAfterTheReceiveTimeout) {
    asio::io_context io;
    asio::ip::tcp::acceptor silent(io, {asio::ip::make_address("127.0.0.1"), 0});
    connection.BeforeConnect = [&](plat::TNetConnection& net) {
        net.Host = "127.0.0.1";
        net.Port = silent.local_endpoint().port();
    };
    connection.ReceiveTimeout = 1;
    try {
        Call("GetFormPgto", json::array());
        ADD_FAILURE() << "no error";
    } catch (const plat::EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("não respondeu"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(connection.Connected());
}

std::vector<std::string> ErrorDialogs() {
    std::vector<std::string> texts;
    for (const auto& record : plat::Application().Headless().Transcript())
        if (record.kind == plat::DialogRecord::Kind::Error) texts.push_back(record.text);
    return texts;
}

TEST_F(NetConnection, CheckResultServReturnsTheDataOrReportsOnceAndAborts) {
    const json insert = packets::TermDelta(
        {packets::Insert(json::array({"01", "Um", "EMIN", nullptr, "M", "N", nullptr}))});
    plat::Application().Headless().ClearTranscript();
    // Success: the data part, null for a Set method.
    EXPECT_EQ(plat::CheckResultServ(Call("SetFormPgto", insert), true, 0), nullptr);
    EXPECT_EQ(plat::CheckResultServ(Call("GetVerCdForm", {"01"}), true, 0)["rows"],
              json::array({{"01"}}));
    EXPECT_TRUE(ErrorDialogs().empty());

    // A refusal and answers that are no JSON-RPC response: one dialog each, then the abort.
    const std::string invalid = "Resposta inválida do servidor de aplicação.";
    const std::vector<std::pair<json, std::string>> failures{
        {Call("SetFormPgto", insert), "Forma de pagamento já cadastrada."},
        {json::array({1, 2}), invalid},
        {json({{"jsonrpc", "2.0"}, {"id", 1}}), invalid},
        {json({{"error", "texto"}}), invalid},
    };
    for (const auto& [response, message] : failures) {
        SCOPED_TRACE(response.dump());
        plat::Application().Headless().ClearTranscript();
        EXPECT_THROW(plat::CheckResultServ(response, true, 0), plat::EAbort);
        EXPECT_EQ(ErrorDialogs(), std::vector<std::string>{message});
        EXPECT_EQ(plat::Application().Headless().Transcript().size(), 1u);
    }
}

const std::string kSecret = "segredo-de-teste-0123456789";

/// A server that wants a token and closes connections idle for 300 ms.
class NetConnectionLogin : public NetConnection {
protected:
    static ger::ConnectionLimits Idle() {
        ger::ConnectionLimits limits;
        limits.idleTimeout = std::chrono::milliseconds(300);
        return limits;
    }
    NetConnectionLogin() : NetConnection(Idle(), ger::AccessToken::FromText(kSecret)) {}
    void TearDown() override { plat::HostConfig::ClearOverrides(); }
};

// The token of the host's configuration opens every connection; a connection the server
// closed as idle is opened again by the next call.
TEST_F(NetConnectionLogin, TheConfiguredTokenLogsInAndAnIdleCloseIsMendedByTheNextCall) {
    TempFolder folder;
    enum class Outcome { Served, Refused, Raised };
    const struct {
        const char* name;
        const char* token; ///< none: no token file configured
        Outcome outcome;
    } cases[] = {
        {"no token", nullptr, Outcome::Refused}, // the call itself is answered with the refusal
        {"wrong token", "segredo-de-teste-012345678", Outcome::Raised},
        {"right token", kSecret.c_str(), Outcome::Served},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::HostConfig::ClearOverrides();
        if (c.token) {
            const auto path = (folder.Path() / "token").string();
            std::ofstream(path) << c.token << "\n";
            plat::HostConfig::SetOverride("server.token-file", path);
        }
        connection.Close();
        try {
            const json response = Call("GetFormPgto", json::array());
            EXPECT_EQ(response.contains("result"), c.outcome == Outcome::Served) << response;
            if (c.outcome == Outcome::Refused) {
                EXPECT_EQ(response["error"]["code"], 3) << response;
            }
        } catch (const plat::EDatabaseError& error) {
            EXPECT_EQ(c.outcome, Outcome::Raised) << error.what();
            EXPECT_NE(std::string(error.what()).find("código de acesso inválido"),
                      std::string::npos)
                << error.what();
        }
    }
    const int before = connects;
    std::this_thread::sleep_for(std::chrono::milliseconds(900)); // the server closes it idle
    EXPECT_TRUE(Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_EQ(connects, before + 1);
}

} // namespace
