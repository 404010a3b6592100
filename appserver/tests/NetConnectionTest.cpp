#include "net/NetConnection.h"
#include "RunningServer.h"
#include "TempFolder.h"
#include "core/Abort.h"
#include "shared/HostConfig.h"

#include <asio.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

using nlohmann::json;

/// A connection set up as the screen sets up its own: server name, address from BeforeConnect.
class NetConnection : public ::testing::Test {
protected:
    void SetUp() override {
        connection.ServerName = "Ger06700.rdmFormPgto";
        connection.BeforeConnect = [this](plat::TNetConnection& net) {
            ++connects;
            net.Host = "127.0.0.1";
            net.Port = server.Port();
        };
    }
    void TearDown() override { plat::TNetConnection::SetCallObserver(nullptr); }

    RunningServer server;
    plat::TComponent owner;
    plat::TNetConnection& connection = owner.Create<plat::TNetConnection>("netFormPgto");
    int connects = 0;
};

TEST_F(NetConnection, CallsReturnTheWholeResponseAndAreObserved) {
    std::vector<std::pair<std::string, json>> observed;
    plat::TNetConnection::SetCallObserver(
        [&](const std::string& method, const json& args) { observed.emplace_back(method, args); });

    connection.Open();
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 1);
    json success = connection.AppServer().Call("GetVerCdForm", {"01"});
    EXPECT_EQ(success["result"]["rows"], json::array());
    // A refusal comes back as the response, for CheckResultServ to report.
    json failure = connection.AppServer().Call("GetDiaPgto", json::array());
    EXPECT_EQ(failure["error"]["code"], -32602);
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 1);

    EXPECT_EQ(observed, (std::vector<std::pair<std::string, json>>{{"GetVerCdForm", {"01"}},
                                                                   {"GetDiaPgto", json::array()}}));
    connection.SetConnected(false);
    EXPECT_FALSE(connection.Connected());
}

TEST_F(NetConnection, AStoppedServerGivesAClearErrorAndALaterCallReconnects) {
    EXPECT_TRUE(connection.AppServer().Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_EQ(connects, 1); // a call connects a closed connection

    server.Stop();
    const std::string where = "Falha na comunicação com o servidor de aplicação (127.0.0.1:" +
                              std::to_string(server.Port()) + "): ";
    for (int attempt = 0; attempt < 2;
         ++attempt) { // the closed session is noticed: each connects anew
        SCOPED_TRACE(attempt);
        try {
            connection.AppServer().Call("GetFormPgto", json::array());
            ADD_FAILURE() << "no error";
        } catch (const plat::EDatabaseError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, where.size()), where) << error.what();
        }
        EXPECT_FALSE(connection.Connected());
    }
    EXPECT_EQ(connects, 3);

    server.Restart();
    EXPECT_TRUE(connection.AppServer().Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connects, 4);
}

TEST_F(NetConnection, OpenWithoutServerAndSilentServerRaise) {
    server.Stop();
    EXPECT_THROW(connection.Open(), plat::EDatabaseError);
    EXPECT_FALSE(connection.Connected());

    // A server that accepts but never answers: the call gives up after the receive timeout.
    asio::io_context io;
    asio::ip::tcp::acceptor silent(io, {asio::ip::make_address("127.0.0.1"), 0});
    connection.BeforeConnect = [&](plat::TNetConnection& net) {
        net.Host = "127.0.0.1";
        net.Port = silent.local_endpoint().port();
    };
    connection.ReceiveTimeout = 1;
    try {
        connection.AppServer().Call("GetFormPgto", json::array());
        ADD_FAILURE() << "no error";
    } catch (const plat::EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("não respondeu"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(connection.Connected());
}

// The token of the host's configuration opens every connection; a connection the server
// closed as idle is opened again by the next call.
TEST(NetConnectionLogin, TheConfiguredTokenLogsInAndAnIdleCloseIsMendedByTheNextCall) {
    const std::string secret = "segredo-de-teste-0123456789";
    ger::ConnectionLimits limits;
    limits.idleTimeout = std::chrono::milliseconds(300);
    RunningServer server(16 * 1024 * 1024, limits, ger::AccessToken::FromText(secret));
    TempFolder folder;
    plat::TComponent owner;
    auto& connection = owner.Create<plat::TNetConnection>("netFormPgto");
    connection.ServerName = "Ger06700.rdmFormPgto";
    int connects = 0;
    connection.BeforeConnect = [&](plat::TNetConnection& net) {
        ++connects;
        net.Host = "127.0.0.1";
        net.Port = server.Port();
    };
    enum class Outcome { Served, Refused, Raised };
    const struct {
        const char* name;
        const char* token; ///< none: no token file configured
        Outcome outcome;
    } cases[] = {
        {"no token", nullptr, Outcome::Refused}, // the call itself is answered with the refusal
        {"wrong token", "segredo-de-teste-012345678", Outcome::Raised},
        {"right token", "segredo-de-teste-0123456789", Outcome::Served},
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
            const json response = connection.AppServer().Call("GetFormPgto", json::array());
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
    EXPECT_TRUE(connection.AppServer().Call("GetFormPgto", json::array()).contains("result"));
    EXPECT_EQ(connects, before + 1);
    plat::HostConfig::ClearOverrides();
}

} // namespace
