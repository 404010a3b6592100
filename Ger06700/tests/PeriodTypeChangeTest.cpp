// Changing a stored term's period type clears its stored schedule one server call per row;
// when another user got there first, the deletion stops at the refused row.
#include "ScreenFixture.h"

#include "shared/LocalCache.h"

namespace {

using nlohmann::json;

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
