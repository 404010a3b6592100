#include "RunningServer.h"
#include "app/Application.h"
#include "core/Abort.h"
#include "net/NetConnection.h"
#include "shared/Consiste.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

std::vector<std::string> ErrorDialogs() {
    std::vector<std::string> texts;
    for (const auto& record : plat::Application().Headless().Transcript())
        if (record.kind == plat::DialogRecord::Kind::Error) texts.push_back(record.text);
    return texts;
}

TEST(CheckResultServ, ReturnsTheDataOrReportsOnceAndAborts) {
    RunningServer server;
    plat::TComponent owner;
    auto& connection = owner.Create<plat::TNetConnection>("netFormPgto");
    connection.ServerName = "Ger06700.rdmFormPgto";
    connection.Host = "127.0.0.1";
    connection.Port = server.Port();
    auto call = [&](const std::string& method, const json& args) {
        return connection.AppServer().Call(method, args);
    };
    const json term = json::array({"01", "Um", "EMIN", nullptr, "M", "N", nullptr});
    json fields = json::array();
    for (const char* name : {"CDFORMPGTO", "NMFORMPGTO", "IDTIPODTPGTO", "IDREFECALCPARC",
                             "IDTPPERIODO", "IDCONSDIAUTIL", "IDVRIGUALPARC"})
        fields.push_back({{"name", name}});
    const json insert =
        json::array({{{"fields", fields}, {"changes", {{{"op", "insert"}, {"new", term}}}}}});

    plat::Application().Headless().ClearTranscript();
    // Success: the data part, null for a Set method.
    EXPECT_EQ(plat::CheckResultServ(call("SetFormPgto", insert), true, 0), nullptr);
    EXPECT_EQ(plat::CheckResultServ(call("GetVerCdForm", {"01"}), true, 0)["rows"],
              json::array({{"01"}}));
    EXPECT_TRUE(ErrorDialogs().empty());

    // A refusal and answers that are no JSON-RPC response: one dialog each, then the abort.
    const std::vector<std::pair<json, std::string>> failures{
        {call("SetFormPgto", insert), "Forma de pagamento já cadastrada."},
        {json::array({1, 2}), "Resposta inválida do servidor de aplicação."},
        {json({{"jsonrpc", "2.0"}, {"id", 1}}), "Resposta inválida do servidor de aplicação."},
        {json({{"error", "texto"}}), "Resposta inválida do servidor de aplicação."},
    };
    for (const auto& [response, message] : failures) {
        SCOPED_TRACE(response.dump());
        plat::Application().Headless().ClearTranscript();
        EXPECT_THROW(plat::CheckResultServ(response, true, 0), plat::EAbort);
        EXPECT_EQ(ErrorDialogs(), std::vector<std::string>{message});
        EXPECT_EQ(plat::Application().Headless().Transcript().size(), 1u);
    }
}

} // namespace
