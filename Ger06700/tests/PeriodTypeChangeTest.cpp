// Changing a stored term's period type clears its stored schedule, one server call per row,
// also when another user got there first.
#include "ScreenFixture.h"

#include "shared/LocalCache.h"

namespace {

using nlohmann::json;
using Texts = std::vector<std::string>;

TEST_F(ScreenTest, ChangingAStoredTermsPeriodTypeDeletesItsStoredRowsOneByOne) {
    const std::vector<std::vector<std::string>> days{
        {"01", "10", "20"}, {"11", "20", "30"}, {"21", "31", "10"}};
    WriteTerm("20", "Três dezenas", std::string("M"), days);
    WriteTerm("21", "Três dezenas de outro", std::string("M"), days);
    struct Case {
        const char* term;
        const char* otherUser; // SQL run behind the screen's back first
        Texts calls;
        Texts errors;
        json storedAfter; // initial days of the term left on the server
        Texts cacheNotices;
    };
    const Texts threeDeletions(3, "SetDiaPgto(<delta>)");
    const Case cases[] = {
        {"20", "", threeDeletions, {}, json::array(), Texts(4, "DIAPGTO")},
        // The second row is gone already: its deletion is refused, the list is read afresh,
        // the term stays current and the row after it stays stored.
        {"21",
         "DELETE FROM DIAPGTO WHERE CDFORMPGTO = '21' AND NRDIAINIPGTO = '11'",
         {"SetDiaPgto(<delta>)", "SetDiaPgto(<delta>)", "GetFormPgto()", "GetDiaPgto(01)",
          "GetDiaPgto(21)"},
         {"Registro alterado ou excluído por outro usuário."},
         json::array({json::array({"21"})}),
         Texts(2, "DIAPGTO")},
    };
    ASSERT_TRUE(IniProc());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        const json otherTerms = Sql("SELECT * FROM DIAPGTO WHERE CDFORMPGTO <> ? ORDER BY "
                                    "CDFORMPGTO, NRDIAINIPGTO, NRDIAFINPGTO",
                                    {c.term});
        ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", c.term, false); }));
        if (*c.otherUser) Write(c.otherUser);
        ClearLog();
        plat::LocalCache().Clear();
        const bool done = Act([&] {
            Terms().Edit();
            Terms().FieldByName("IDTPPERIODO").SetText("Por dia da semana");
        });
        EXPECT_EQ(done, c.errors.empty());
        EXPECT_EQ(Calls(), c.calls);
        EXPECT_EQ(Errors(), c.errors);
        EXPECT_FALSE(Flag("boDelete"));
        EXPECT_EQ(plat::LocalCache().Notices(), c.cacheNotices);
        EXPECT_EQ(Sql("SELECT NRDIAINIPGTO FROM DIAPGTO WHERE CDFORMPGTO = ? ORDER BY 1", {c.term}),
                  c.storedAfter);
        EXPECT_EQ(Sql("SELECT * FROM DIAPGTO WHERE CDFORMPGTO <> ? ORDER BY CDFORMPGTO, "
                      "NRDIAINIPGTO, NRDIAFINPGTO",
                      {c.term}),
                  otherTerms);
        if (done) {
            EXPECT_EQ(Page(), 1);
            EXPECT_TRUE(Days().IsEmpty());
            EXPECT_EQ(Inspect("stMaxDiaFin"), "");
            ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
        } else {
            // What the screen shows is what the server holds.
            EXPECT_EQ(Rows(Terms()), StoredTerms());
            EXPECT_EQ(Terms().State(), plat::TDataSetState::Browse);
            EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), c.term);
            EXPECT_EQ(Rows(Days()), StoredDays(c.term));
        }
    }
}

} // namespace
