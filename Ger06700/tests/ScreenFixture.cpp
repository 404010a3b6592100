#include "ScreenFixture.h"

#include "net/NetConnection.h"
#include "rdm/DemoData.h"
#include "shared/DBGeral.h"
#include "shared/HostConfig.h"
#include "shared/WaitIndicator.h"

using nlohmann::json;

void ScreenTest::SetUp() {
    ASSERT_TRUE(plat::Application().Forms().empty()) << "a form was left open by an earlier test";
    ger::DemoData::InsertIfEmpty(*server_.OpenStorage());

    // The host reads the server's database: the highest final day comes straight from it.
    plat::HostConfig::SetOverride("server.host", "127.0.0.1");
    plat::HostConfig::SetOverride("server.port", std::to_string(server_.Port()));
    plat::HostConfig::SetOverride("db", server_.DatabaseUrl());

    plat::TNetConnection::SetCallObserver([this](const std::string& method, const json& args) {
        std::string call = method + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            call += (i ? "," : "") + (args[i].is_string() ? args[i].get<std::string>() : "<delta>");
        calls_.push_back(call + ")");
    });
    ClearLog();
    LoadModule();
}

void ScreenTest::TearDown() {
    for (plat::TComponent* component : plat::Application().Forms())
        if (auto* form = dynamic_cast<plat::TForm*>(component)) Act([form] { form->Close(); });
    EXPECT_TRUE(plat::Application().Forms().empty()) << "closing did not destroy the form";
    // Whatever a failed test left behind goes too, while the module's code is still loaded.
    for (plat::TComponent* component : plat::Application().Forms())
        plat::Application().ReleaseForm(component);
    UnloadModule();

    plat::TNetConnection::SetCallObserver(nullptr);
    plat::WaitIndicator().Stop();
    plat::Application().SetScreenCursor(plat::TCursor::Default);
    plat::Application().SetActiveForm(nullptr);
    plat::HostConfig::ClearOverrides();
    plat::dtmDBGeral().Close();
    ClearLog();
}

std::string ScreenTest::Msg(const std::string& key) {
    const plat::TMessages& catalogue = Form().msgPadrao;
    const auto plus = key.find('+');
    if (key.empty() || plus == std::string::npos) return key.empty() ? key : catalogue.Msg(key);
    return plat::Format(catalogue.Msg(key.substr(0, plus)), catalogue.Msg(key.substr(plus + 1)));
}

std::vector<std::string> ScreenTest::Errors() {
    std::vector<std::string> texts;
    for (const auto& record : plat::Application().Headless().Transcript())
        if (record.kind == plat::DialogRecord::Kind::Error) texts.push_back(record.text);
    return texts;
}

json ScreenTest::Sql(const std::string& sql, const std::vector<ger::SqlValue>& params) {
    json rows = json::array();
    for (const auto& row : server_.OpenStorage()->Query(sql, params)) {
        rows.push_back(json::array());
        for (const auto& value : row)
            rows.back().push_back(std::holds_alternative<std::string>(value)
                                      ? json(std::get<std::string>(value))
                                      : json());
    }
    return rows;
}

void ScreenTest::WriteTerm(const std::string& code, const std::string& name,
                           const std::string& periodType,
                           const std::vector<std::vector<std::string>>& days) {
    Write("INSERT INTO FORMPGTO (CDFORMPGTO, NMFORMPGTO, IDTIPODTPGTO, IDREFECALCPARC, "
          "IDTPPERIODO, IDCONSDIAUTIL, IDVRIGUALPARC) VALUES (?, ?, 'EMIN', 'FORA_MES', ?, 'N', "
          "'S')",
          {code, name, periodType});
    for (const auto& day : days)
        Write("INSERT INTO DIAPGTO (CDFORMPGTO, NRDIAINIPGTO, NRDIAFINPGTO, NRDIAPGTOVAR, "
              "NRMESFORMPGT, NRNUMMESPGTO, NRDIAPGTOSEMANA) VALUES (?, ?, ?, ?, 1, NULL, '00')",
              {code, day.at(0), day.at(1), day.at(2)});
}
