// The current payment term: moving in the master grid, and reloading the list.
#include "ScreenFixture.h"

#include "shared/WaitIndicator.h"

#include <map>

namespace {

using nlohmann::json;
using Texts = std::vector<std::string>;
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
    auto& grid = Part<plat::TDBGrid>("dbgPadrao");
    std::map<json, int> typesSeen;
    for (int row = static_cast<int>(terms.size()) - 1; row >= 0; --row) {
        const std::string code = terms[row][0];
        SCOPED_TRACE(code);
        ClearLog();
        ASSERT_TRUE(Act([&] { grid.ClickRow(row); }));
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
    ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", "11", false); }));
    EXPECT_TRUE(Days().Active());
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Inspect("stMaxDiaFin"), "");
}

TEST_F(ScreenTest, MovingThroughTheDatasetFetchesOnlyWhenTheTermChanges) {
    ASSERT_TRUE(IniProc());
    struct Move {
        const char* name;
        std::function<void()> move;
        const char* current;
        Texts calls;
        int page;
    };
    const Move moves[] = {
        {"Next", [&] { Terms().Next(); }, "02", {"GetDiaPgto(02)"}, 0},
        {"Locate", [&] { Terms().Locate("CDFORMPGTO", "05", false); }, "05", {"GetDiaPgto(05)"}, 1},
        {"Last", [&] { Terms().Last(); }, "07", {"GetDiaPgto(07)"}, 2},
        {"Next past the end", [&] { Terms().Next(); }, "07", {}, 2},
        {"Locate a missing code", [&] { Terms().Locate("CDFORMPGTO", "99", false); }, "07", {}, 2},
        {"Prior", [&] { Terms().Prior(); }, "06", {"GetDiaPgto(06)"}, 1},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.name);
        ClearLog();
        ASSERT_TRUE(Act(move.move));
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), move.current);
        EXPECT_EQ(Calls(), move.calls);
        EXPECT_EQ(Page(), move.page);
        EXPECT_EQ(Rows(Days()), StoredDays(move.current));
    }
}

TEST_F(ScreenTest, ReloadShowsAnotherUsersChangesUnderTheWaitIndicator) {
    ASSERT_TRUE(IniProc());
    ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", "03", false); }));
    // Another user renames a term, removes one and adds one that sorts first.
    Write("UPDATE FORMPGTO SET NMFORMPGTO = 'Trinta e sessenta dias' WHERE CDFORMPGTO = '02'");
    Write("DELETE FROM DIAPGTO WHERE CDFORMPGTO = '06'");
    Write("DELETE FROM FORMPGTO WHERE CDFORMPGTO = '06'");
    WriteTerm("00", "Semanal de outro usuário", std::string("S"), {{"01", "07", "06"}});

    plat::TfrmPadraoGrid& form = Form();
    // The command bar's button and the menu entry run the same reload.
    for (plat::TControl* command : {static_cast<plat::TControl*>(&form.sbtVerificar),
                                    static_cast<plat::TControl*>(&form.mnuVerificar)}) {
        SCOPED_TRACE(command->Name());
        const int started = plat::WaitIndicator().Activations();
        ClearLog();
        ASSERT_TRUE(Act([&] {
            if (auto* button = dynamic_cast<plat::TSpeedButton*>(command)) button->Click();
            if (auto* item = dynamic_cast<plat::TMenuItem*>(command)) item->Click();
        }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Rows(Terms()), StoredTerms());
        EXPECT_EQ(GridCodes(), (Texts{"00", "01", "02", "03", "04", "05", "07"}));
        EXPECT_EQ(form.dbgPadrao.CellText(2, 1), "Trinta e sessenta dias");
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "00");
        EXPECT_EQ(Calls(), (Texts{"GetFormPgto()", "GetDiaPgto(00)"}));
        EXPECT_EQ(Rows(Days()), StoredDays("00"));
        EXPECT_EQ(Page(), 1);
        EXPECT_EQ(Inspect("stMaxDiaFin"), "07");
        EXPECT_EQ(Waits(), (WaitTrail{true, false}));
        EXPECT_EQ(plat::WaitIndicator().Activations(), started + 1);
        EXPECT_EQ(plat::WaitIndicator().Kind(), 6);
    }
}

// A reload that fails is reported once, stops the wait indicator and keeps the list shown.
TEST_F(ScreenTest, AFailedReloadIsReportedOnceAndKeepsTheList) {
    ASSERT_TRUE(IniProc());
    ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", "04", false); }));
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
        ClearLog();
        ASSERT_TRUE(Act([&] { form.sbtVerificar.Click(); }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Calls(), (Texts{"GetFormPgto()", "GetDiaPgto(01)"}));
        ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", "04", false); }));
    }
}

} // namespace
