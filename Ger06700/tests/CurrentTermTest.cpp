// The current payment term as older systems left it. The pages of M, S and A, the rows fetched
// on each move, a click on the current row and the keyboard moves are in the move-in-list
// session; a term without rows (highest final day "") in the term-commands session.
#include "ScreenFixture.h"

namespace {

using nlohmann::json;

TEST_F(ScreenTest, ATermOfAnUnknownPeriodTypeShowsTheWeekOfMonthPage) {
    WriteTerm("08", "Sem período", ger::SqlValue{}, {{"01", "10", "15"}});
    WriteTerm("09", "Período vazio", std::string(""), {{"01", "31", "05"}});
    WriteTerm("10", "Período desconhecido", std::string("X"),
              {{"16", "28", "05"}, {"01", "15", "20"}});
    ASSERT_TRUE(IniProc());
    const json terms = StoredTerms();
    const std::pair<std::string, const char*> cases[] = {{"10", "28"}, {"09", "31"}, {"08", "10"}};
    for (const auto& [code, highest] : cases) {
        SCOPED_TRACE(code);
        int row = 0;
        while (terms[row][0] != code)
            ++row;
        ClearLog();
        ASSERT_TRUE(Act([&] { Grid("dbgPadrao").ClickRow(row); }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Part<plat::TDBText>("dbtNome").Text(), terms[row][1]);
        EXPECT_EQ(Calls(), Texts{"GetDiaPgto(" + code + ")"});
        EXPECT_EQ(Rows(Days()), StoredDays(code));
        EXPECT_EQ(Page(), 2);
        EXPECT_EQ(Inspect("stMaxDiaFin"), highest);
    }

    // A move that finds no other term (past the last one, an unknown code) fetches nothing.
    Locate("10");
    const std::function<void()> moves[] = {[&] { Terms().Next(); },
                                           [&] { Terms().Locate("CDFORMPGTO", "99", false); }};
    for (const auto& move : moves) {
        ClearLog();
        ASSERT_TRUE(Act(move));
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "10");
        EXPECT_TRUE(Calls().empty());
    }
}

} // namespace
