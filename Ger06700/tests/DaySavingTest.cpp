// Day rows: the guard against a full schedule, the highest final day known after a post the
// server did not need, took or refused, and a period-type change another user's deletion stops.
#include "ScreenFixture.h"

namespace {

// A full month or week starts no row, one with a day left does. A period type no view knows,
// as older systems left it, shows the week-of-month page and holds seven days.
TEST_F(ScreenTest, ANewDayRowStartsOnlyWhileTheScheduleHasRoom) {
    const struct {
        const char *code, *periodType, *finalDay; // of the term's one row
        bool starts;
    } cases[] = {{"21", "A", "31", false}, {"22", "A", "30", true},  {"23", "M", "31", false},
                 {"24", "M", "30", true},  {"25", "S", "07", false}, {"26", "X", "07", false},
                 {"27", "X", "06", true}};
    for (const auto& c : cases)
        WriteTerm(c.code, "Prazo", c.periodType, {{"01", c.finalDay, "02"}});
    ASSERT_TRUE(IniProc());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Locate(c.code);
        EXPECT_EQ(Inspect("stMaxDiaFin"), c.finalDay);
        ClearLog();
        Act([&] { Days().Insert(); });
        EXPECT_TRUE(Errors().empty() && Calls().empty()); // silently
        EXPECT_EQ(Days().State() == plat::TDataSetState::Insert, c.starts);
        if (c.starts) {
            EXPECT_EQ(Days().FieldByName("NRDIAINIPGTO").AsString(), ""); // not the first row
            ASSERT_TRUE(Act([&] { Days().Cancel(); }));
        }
    }
    EXPECT_EQ(Page(), 2); // the unknown period type
}

TEST_F(ScreenTest, APostKeepsTheHighestFinalDayKnownAndTheRowCurrent) {
    WriteTerm("20", "Quinzena", "M", {{"01", "15", "20"}});
    ASSERT_TRUE(IniProc());
    plat::TField& paymentDay = Days().FieldByName("NRDIAPGTOVAR");
    // Confirming an unchanged early row sends nothing and keeps the month full.
    Locate("04");
    ClearLog();
    ASSERT_TRUE(Act([&] {
        Days().First();
        Days().Edit();
        Days().Post();
    }));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Inspect("stMaxDiaFin"), "31");
    // A changed middle row is stored and stays current once the rows are read again.
    ASSERT_TRUE(Act([&] {
        Days().Locate("NRDIAINIPGTO", "11", false);
        Days().Edit();
        paymentDay.SetAsString("29");
        Days().Post();
    }));
    EXPECT_EQ(Calls(), (Texts{"SetDiaPgto(<delta>)", "GetDiaPgto(04)", "GetDiaPgto(04)"}));
    EXPECT_EQ(Days().FieldByName("NRDIAINIPGTO").AsString(), "11");
    EXPECT_EQ(StoredDays("04")[1][2], "29");
    // A new row for a term another user removed is refused; the guard keeps the former day.
    Locate("20");
    Write("DELETE FROM DIAPGTO WHERE CDFORMPGTO = '20'");
    Write("DELETE FROM FORMPGTO WHERE CDFORMPGTO = '20'");
    ClearLog();
    EXPECT_FALSE(Act([&] {
        Days().Insert();
        Days().FieldByName("NRDIAINIPGTO").SetAsString("16");
        Days().FieldByName("NRDIAFINPGTO").SetAsString("31");
        paymentDay.SetAsString("31");
        Days().FieldByName("NRMESFORMPGT").SetAsFloat(0);
        Days().Post();
    }));
    EXPECT_EQ(Calls(), Texts{"SetDiaPgto(<delta>)"});
    EXPECT_EQ(Days().RecordCount(), 1);
    EXPECT_EQ(Inspect("stMaxDiaFin"), "15");
}

// The schedule cleared by a period-type change (period-type-change) stops at a row another user
// deleted first; the list is read afresh, the term staying current.
TEST_F(ScreenTest, AnotherUsersDeletionStopsThePeriodTypeChangeAtTheRefusedRow) {
    WriteTerm("21", "Três dezenas", "M",
              {{"01", "10", "20"}, {"11", "20", "30"}, {"21", "31", "10"}});
    ASSERT_TRUE(IniProc());
    Locate("21");
    Write("DELETE FROM DIAPGTO WHERE CDFORMPGTO = '21' AND NRDIAINIPGTO = '11'");
    ClearLog();
    EXPECT_FALSE(Act([&] {
        Terms().Edit();
        Terms().FieldByName("IDTPPERIODO").SetText("Por dia da semana");
    }));
    EXPECT_EQ(Calls(), (Texts{"SetDiaPgto(<delta>)", "SetDiaPgto(<delta>)", "GetFormPgto()",
                              "GetDiaPgto(01)", "GetDiaPgto(21)"}));
    EXPECT_EQ(Errors(), Texts{"Registro alterado ou excluído por outro usuário."});
    EXPECT_FALSE(Flag("boDelete"));
    EXPECT_EQ(StoredDays("21"), nlohmann::json::parse(R"([["21", "31", "10"]])"));
    EXPECT_EQ(Terms().State(), plat::TDataSetState::Browse);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "21");
}

} // namespace
