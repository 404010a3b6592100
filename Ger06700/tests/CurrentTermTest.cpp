// The current payment term: moving in the master grid, and reloading the list.
#include "ScreenFixture.h"

#include "shared/WaitIndicator.h"

#include <map>

namespace {

using nlohmann::json;
using WaitTrail = std::vector<bool>;

// Page of the detail notebook for each stored PeriodType: the three codes have their own,
// anything else (older systems' data) shows the week-of-month page.
const std::map<json, int> kPageOfPeriodType{{"M", 0}, {"S", 1},     {"A", 2},
                                            {"", 2},  {nullptr, 2}, {"X", 2}};

TEST_F(ScreenTest, EveryTermThatBecomesCurrentShowsItsRowsPageAndHighestFinalDay) {
    // Terms as older systems left them, and one without rows.
    WriteTerm("08", "Sem período", ger::SqlValue{}, {{"01", "10", "15"}});
    WriteTerm("09", "Período vazio", std::string(""), {{"01", "31", "05"}});
    WriteTerm("10", "Período desconhecido", std::string("X"),
              {{"16", "28", "05"}, {"01", "15", "20"}});
    WriteTerm("11", "Sem dias", std::string("M"));
    ASSERT_TRUE(IniProc());
    const json terms = StoredTerms();
    ASSERT_EQ(GridCodes().size(), terms.size());

    // Click every row from the bottom up, so that each click is a move.
    std::map<json, int> typesSeen;
    for (int row = static_cast<int>(terms.size()) - 1; row >= 0; --row) {
        const std::string code = terms[row][0];
        SCOPED_TRACE(code);
        ClearLog();
        ASSERT_TRUE(Act([&] { Grid("dbgPadrao").ClickRow(row); }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), code);
        EXPECT_EQ(Part<plat::TDBText>("dbtNome").Text(), terms[row][1]);
        EXPECT_EQ(Calls(), Texts{"GetDiaPgto(" + code + ")"});
        const json days = StoredDays(code);
        EXPECT_EQ(Rows(Days()), days);
        ASSERT_TRUE(kPageOfPeriodType.count(terms[row][4]));
        EXPECT_EQ(Page(), kPageOfPeriodType.at(terms[row][4]));
        EXPECT_EQ(Inspect("stMaxDiaFin"), HighestFinalDay(days));
        ++typesSeen[terms[row][4]];
    }
    EXPECT_EQ(typesSeen.size(), kPageOfPeriodType.size()); // every kind of PeriodType came by
    Locate("11");
    EXPECT_TRUE(Days().Active());
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Inspect("stMaxDiaFin"), "");

    // Moves of the dataset itself fetch only when the term changes.
    const std::pair<std::function<void()>, const char*> moves[] = {
        {[&] { Terms().First(); }, "01"},
        {[&] { Terms().Next(); }, "02"},
        {[&] { Terms().Last(); }, "11"},
        {[&] { Terms().Next(); }, nullptr},
        {[&] { Terms().Locate("CDFORMPGTO", "99", false); }, nullptr},
        {[&] { Terms().Prior(); }, "10"},
    };
    for (const auto& [move, fetched] : moves) {
        const std::string before = Terms().FieldByName("CDFORMPGTO").AsString();
        SCOPED_TRACE(before);
        ClearLog();
        ASSERT_TRUE(Act(move));
        const std::string current = fetched ? fetched : before;
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), current);
        EXPECT_EQ(Calls(), fetched ? Texts{"GetDiaPgto(" + current + ")"} : Texts{});
        EXPECT_EQ(Rows(Days()), StoredDays(current));
    }
}

// A reload that fails is reported once, stops the wait indicator and keeps the list shown;
// once repaired, the reload runs under the indicator and makes the first term current.
TEST_F(ScreenTest, AFailedReloadIsReportedOnceAndKeepsTheList) {
    ASSERT_TRUE(IniProc());
    Locate("04");
    const json shown = Rows(Terms());
    const json days = Rows(Days());
    struct Outage {
        const char* name;
        std::function<void()> cause, repair;
        const char* report;
    };
    const Outage outages[] = {
        {"server down", [&] { server_.Stop(); }, [&] { server_.Restart(); },
         "Falha na comunicação com o servidor de aplicação"},
        {"list refused", [&] { Write("ALTER TABLE FORMPGTO RENAME TO FORMPGTO_FORA"); },
         [&] { Write("ALTER TABLE FORMPGTO_FORA RENAME TO FORMPGTO"); }, "Erro"},
    };
    plat::TfrmPadraoGrid& form = Form();
    for (const Outage& outage : outages) {
        SCOPED_TRACE(outage.name);
        outage.cause();
        ClearLog();
        EXPECT_FALSE(Act([&] { form.sbtVerificar.Click(); }));
        const Texts errors = Errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind(outage.report, 0), 0u) << errors[0];
        EXPECT_EQ(Waits(), (WaitTrail{true, false}));
        EXPECT_FALSE(plat::WaitIndicator().Active());
        EXPECT_EQ(Calls(), Texts{"GetFormPgto()"});
        EXPECT_EQ(Rows(Terms()), shown);
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "04");
        EXPECT_EQ(Rows(Days()), days);

        outage.repair();
        const int started = plat::WaitIndicator().Activations();
        ClearLog();
        ASSERT_TRUE(Act([&] { form.sbtVerificar.Click(); }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Calls(), (Texts{"GetFormPgto()", "GetDiaPgto(01)"}));
        EXPECT_EQ(Waits(), (WaitTrail{true, false}));
        EXPECT_EQ(plat::WaitIndicator().Activations(), started + 1);
        EXPECT_EQ(plat::WaitIndicator().Kind(), 6);
        Locate("04");
    }
}

} // namespace
