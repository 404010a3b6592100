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

plat::TfrmPadraoGrid& ScreenTest::Form() {
    const auto forms = plat::Application().Forms();
    if (forms.size() != 1)
        throw std::runtime_error(std::to_string(forms.size()) + " forms exist instead of one");
    return dynamic_cast<plat::TfrmPadraoGrid&>(*forms.front());
}

std::string ScreenTest::Inspect(const std::string& name) {
    return Form().InspectValue(name).value();
}

bool ScreenTest::Flag(const char* name) const {
    const auto* flag = static_cast<const bool*>(module_->Data(name));
    if (!flag) throw std::runtime_error(std::string("the module exports no ") + name);
    return *flag;
}

void ScreenTest::Type(plat::TDBGrid& grid, const std::string& text) {
    for (std::string key : plat::Utf8Characters(text)) {
        grid.BeginKey();
        grid.KeyPress(key);
    }
}

std::string ScreenTest::Shown() {
    const auto errors = Errors();
    return errors.empty() ? std::string() : errors.back() + (errors.size() > 1 ? " (+)" : "");
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

void ScreenTest::ClearLog() {
    calls_.clear();
    plat::Application().Headless().ClearTranscript();
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
