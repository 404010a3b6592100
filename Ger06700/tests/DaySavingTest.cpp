// Day rows: the guard against a schedule that is already full, what the highest final day
// known and the current row are after a post the server did not need, took, or refused, and
// the deletion of a stored schedule when its period type changes.
#include "ScreenFixture.h"

#include "shared/LocalCache.h"

namespace {

using nlohmann::json;

TEST_F(ScreenTest, ANewDayRowStartsOnlyWhileTheScheduleHasRoom) {
    struct Case {
        const char* code;
        const char* periodType;
        std::vector<std::vector<std::string>> days;
        const char* initialDay; // null: no row starts, silently
        const char* highestFinalDay;
    };
    // The month full up to day 31 and a term without rows (its row starts at day 01) are in
    // the day-rows session.
    const Case cases[] = {
        {"21", "A", {{"01", "31", "02"}}, nullptr, "31"},
        {"22", "M", {{"01", "30", "30"}}, "", "30"},
        {"23", "S", {{"01", "07", "06"}}, nullptr, "07"},
    };
    for (const Case& c : cases)
        WriteTerm(c.code, "Prazo", std::string(c.periodType), c.days);
    ASSERT_TRUE(IniProc());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Locate(c.code);
        ClearLog();
        Act([&] { Days().Insert(); });
        EXPECT_TRUE(Errors().empty());
        EXPECT_TRUE(Calls().empty());
        EXPECT_EQ(Days().State() == plat::TDataSetState::Insert, c.initialDay != nullptr);
        EXPECT_EQ(Inspect("stMaxDiaFin"), c.highestFinalDay);
        if (c.initialDay) {
            EXPECT_EQ(Days().FieldByName("NRDIAINIPGTO").AsString(), c.initialDay);
            ASSERT_TRUE(Act([&] { Days().Cancel(); }));
        }
    }
}

TEST_F(ScreenTest, APostKeepsTheHighestFinalDayKnownAndTheRowCurrent) {
    WriteTerm("20", "Quinzena", std::string("M"), {{"01", "15", "20"}});
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
    Act([&] { Days().Insert(); });
    EXPECT_EQ(Days().State(), plat::TDataSetState::Browse);

    // A changed middle row is stored, the rows are read again, and it stays current. The
    // term, in edit since its row was, is left unchanged on the way (a cancel, which reads
    // its rows) and then found again (which reads them once more).
    ASSERT_TRUE(Act([&] {
        Days().Locate("NRDIAINIPGTO", "11", false);
        Days().Edit();
        paymentDay.SetAsString("29");
        Days().Post();
    }));
    EXPECT_EQ(Calls(), (Texts{"SetDiaPgto(<delta>)", "GetDiaPgto(04)", "GetDiaPgto(04)"}));
    EXPECT_EQ(Days().FieldByName("NRDIAINIPGTO").AsString(), "11");
    EXPECT_EQ(Rows(Days()), StoredDays("04"));
    EXPECT_EQ(StoredDays("04")[1][3], "29");

    // A new row up to day 31 for a term another user removed meanwhile is refused: it
    // disappears, the guard keeps the former day, and the row may be started again.
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
    EXPECT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Calls(), Texts{"SetDiaPgto(<delta>)"});
    EXPECT_EQ(Days().RecordCount(), 1);
    EXPECT_EQ(Days().ChangeCount(), 0);
    EXPECT_EQ(Inspect("stMaxDiaFin"), "15");
    Act([&] { Days().Insert(); });
    EXPECT_EQ(Days().State(), plat::TDataSetState::Insert);
    ASSERT_TRUE(Act([&] { Days().Cancel(); }));
}

// Changing a stored term's period type clears its stored schedule one server call per row;
// when another user got there first, the deletion stops at the refused row.
TEST_F(ScreenTest, AnotherUsersDeletionStopsThePeriodTypeChangeAtTheRefusedRow) {
    WriteTerm("21", "Três dezenas", std::string("M"),
              {{"01", "10", "20"}, {"11", "20", "30"}, {"21", "31", "10"}});
    ASSERT_TRUE(IniProc());
    const std::string others = "SELECT * FROM DIAPGTO WHERE CDFORMPGTO <> '21' ORDER BY "
                               "CDFORMPGTO, NRDIAINIPGTO, NRDIAFINPGTO";
    const json otherTerms = Sql(others);
    Locate("21");
    Write("DELETE FROM DIAPGTO WHERE CDFORMPGTO = '21' AND NRDIAINIPGTO = '11'");
    ClearLog();
    plat::LocalCache().Clear();
    EXPECT_FALSE(Act([&] {
        Terms().Edit();
        Terms().FieldByName("IDTPPERIODO").SetText("Por dia da semana");
    }));
    // The first row went, the second was refused and the list read afresh; the row after it
    // stays stored and the term stays current.
    EXPECT_EQ(Calls(), (Texts{"SetDiaPgto(<delta>)", "SetDiaPgto(<delta>)", "GetFormPgto()",
                              "GetDiaPgto(01)", "GetDiaPgto(21)"}));
    EXPECT_EQ(Errors(), Texts{"Registro alterado ou excluído por outro usuário."});
    EXPECT_FALSE(Flag("boDelete"));
    EXPECT_EQ(plat::LocalCache().Notices(), Texts(2, "DIAPGTO"));
    EXPECT_EQ(Sql("SELECT NRDIAINIPGTO FROM DIAPGTO WHERE CDFORMPGTO = '21'"),
              json::array({json::array({"21"})}));
    EXPECT_EQ(Sql(others), otherTerms);
    EXPECT_EQ(Rows(Terms()), StoredTerms());
    EXPECT_EQ(Terms().State(), plat::TDataSetState::Browse);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "21");
    EXPECT_EQ(Rows(Days()), StoredDays("21"));
}

} // namespace
