// The current payment term: moving in the master grid and in its dataset.
#include "ScreenFixture.h"

#include <map>

namespace {

using nlohmann::json;

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
    ASSERT_EQ(Grid("dbgPadrao").RowCount(), static_cast<int>(terms.size()));

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
        EXPECT_EQ(Rows(Days()), StoredDays(code));
        ASSERT_TRUE(kPageOfPeriodType.count(terms[row][4]));
        EXPECT_EQ(Page(), kPageOfPeriodType.at(terms[row][4]));
        const json highest =
            Sql("SELECT MAX(NRDIAFINPGTO) FROM DIAPGTO WHERE CDFORMPGTO = ?", {code})[0][0];
        EXPECT_EQ(Inspect("stMaxDiaFin"), highest.is_null() ? "" : highest.get<std::string>());
        ++typesSeen[terms[row][4]];
    }
    EXPECT_EQ(typesSeen.size(), kPageOfPeriodType.size()); // every kind of PeriodType came by
    Locate("11");
    EXPECT_TRUE(Days().Active());
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Inspect("stMaxDiaFin"), "");

    // Moves of the dataset itself fetch only when the term changes (to the first and to the
    // next term with the keyboard: the move-in-list session).
    const std::pair<std::function<void()>, const char*> moves[] = {
        {[&] { Terms().Prior(); }, "10"},
        {[&] { Terms().Next(); }, "11"},
        {[&] { Terms().Next(); }, nullptr},
        {[&] { Terms().Locate("CDFORMPGTO", "99", false); }, nullptr},
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

} // namespace
