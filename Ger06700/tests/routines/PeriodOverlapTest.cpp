// The row being entered against the periods the server holds for its term.
#include "RoutineFixture.h"

namespace {

using Period = std::pair<const char*, const char*>;

const char* const SEQINV =
    "Existem dias compreendidos no período informado que já foram cadastrados.";
const char* const SEQDIAINV = "Esta data está compreendida em um período já cadastrado.";
constexpr int kNewRow = -1;

struct OverlapCase {
    const char* name;
    const char* periodType;
    std::vector<Period> stored; // the term's rows when the screen loads them
    std::vector<Period> added;  // rows another user stores afterwards
    int edited;                 // row of the term being edited; kNewRow: a new row
    Period row;                 // initial and final day of the row being entered
    const char* checked;        // day field checked
    const char* error;          // empty: no report
};

const char* const INI = "NRDIAINIPGTO";
const char* const FIN = "NRDIAFINPGTO";
const std::vector<Period> kMonth{{"01", "10"}, {"11", "20"}, {"21", "31"}};

// clang-format off
const OverlapCase kOverlapCases[] = {
    {"initial day inside a period", "M", {{"10", "20"}}, {}, kNewRow, {"15", ""}, INI, SEQDIAINV},
    {"row over a period's start", "M", {{"10", "20"}}, {}, kNewRow, {"05", "12"}, FIN, SEQINV},
    {"row after a period", "M", {{"10", "20"}}, {}, kNewRow, {"21", "31"}, FIN, ""},
    {"day after the month's end", "M", {{"25", "05"}}, {}, kNewRow, {"03", ""}, INI, SEQDIAINV},
    {"row between the two parts", "M", {{"25", "05"}}, {}, kNewRow, {"06", "24"}, FIN, ""},
    {"row past the month's end", "M", {{"01", "02"}}, {}, kNewRow, {"28", "03"}, INI, SEQINV},
    {"Saturday in a period past the week's end", "S", {{"06", "02"}}, {}, kNewRow, {"07", ""}, INI,
     SEQDIAINV},
    {"week row between the two parts", "S", {{"06", "02"}}, {}, kNewRow, {"03", "05"}, FIN, ""},
    {"day 31 of the week-of-month view", "A", {{"28", "02"}}, {}, kNewRow, {"31", ""}, INI,
     SEQDIAINV},
    {"row beginning on a single day", "M", {{"15", "15"}}, {}, kNewRow, {"15", "20"}, FIN, SEQDIAINV},
    {"row holding a single day", "M", {{"15", "15"}}, {}, kNewRow, {"10", "20"}, FIN, ""},
    {"single-day row inside a period", "M", {{"10", "20"}}, {}, kNewRow, {"15", "15"}, FIN, ""},
    {"first row edited unchanged", "M", kMonth, {}, 0, {"01", "10"}, FIN, ""},
    {"middle row edited unchanged", "M", kMonth, {}, 1, {"11", "20"}, INI, ""},
    {"last row edited unchanged", "M", kMonth, {}, 2, {"21", "31"}, FIN, ""},
    {"middle row into the last period", "M", kMonth, {}, 1, {"11", "22"}, FIN, SEQINV},
    {"first row into the second period", "M", kMonth, {}, 0, {"01", "12"}, FIN, SEQINV},
    {"first week row edited unchanged", "S", {{"01", "03"}, {"04", "07"}}, {}, 0, {"01", "03"}, FIN,
     ""},
    {"a period beyond the detail's rows", "M", {{"01", "10"}}, {{"15", "20"}}, kNewRow,
     {"16", "18"}, FIN, ""},
    {"the periods within them still count", "M", {{"01", "10"}}, {{"15", "20"}}, kNewRow,
     {"05", "06"}, FIN, SEQINV},
};
// clang-format on

TEST_F(RoutineTest, ARowSharingDaysWithAStoredPeriodIsReported) {
    std::vector<std::string> codes;
    for (const OverlapCase& c : kOverlapCases) {
        codes.push_back(std::to_string(50 + codes.size()));
        std::vector<std::vector<std::string>> days;
        for (const auto& [ini, fin] : c.stored)
            days.push_back({ini, fin, fin});
        WriteTerm(codes.back(), std::string(c.name).substr(0, 30), std::string(c.periodType), days);
    }
    ASSERT_TRUE(IniProc());
    auto& screen = Screen();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const OverlapCase& c = kOverlapCases[i];
        const std::string& code = codes[i];
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Act([&] { ASSERT_TRUE(Terms().Locate("CDFORMPGTO", code, false)); }));
        for (const auto& [ini, fin] : c.added)
            Write("INSERT INTO DIAPGTO (CDFORMPGTO, NRDIAINIPGTO, NRDIAFINPGTO) VALUES (?, ?, ?)",
                  {code, std::string(ini), std::string(fin)});
        ASSERT_TRUE(Act([&] {
            if (c.edited == kNewRow) {
                Days().Append();
            } else {
                Days().First();
                Days().MoveBy(c.edited);
                Days().Edit();
            }
            Days().FieldByName("NRDIAINIPGTO").SetAsString(c.row.first);
            Days().FieldByName("NRDIAFINPGTO").SetAsString(c.row.second);
            Select(ViewGrid(), "NRDIAPGTOVAR");
        }));
        ClearLog();
        const bool passed =
            Act([&] { screen.Vd_Periodos(c.checked, Days().FieldByName(c.checked).AsString()); });
        EXPECT_EQ(Shown(), c.error);
        EXPECT_EQ(passed, *c.error == '\0');
        EXPECT_EQ(Calls(), Texts{"GetPeriodo(" + code + ")"});
        EXPECT_EQ(Column(ViewGrid()), *c.error ? c.checked : "NRDIAPGTOVAR");
        ASSERT_TRUE(Act([&] {
            Days().Cancel();
            if (Terms().State() != plat::TDataSetState::Browse) Terms().Cancel();
        }));
    }
}

TEST_F(RoutineTest, WithoutATermCodeOrADayNothingIsAskedOfTheServer) {
    WriteTerm("20", "Sem dias", std::string("M")); // room for a new row
    ASSERT_TRUE(IniProc());
    auto& screen = Screen();
    ASSERT_TRUE(Act([&] {
        ASSERT_TRUE(Terms().Locate("CDFORMPGTO", "20", false));
        Days().Append();
        Days().FieldByName("NRDIAINIPGTO").SetAsString("15");
    }));
    ClearLog();
    EXPECT_TRUE(Act([&] { screen.Vd_Periodos("NRDIAFINPGTO", ""); }));
    EXPECT_TRUE(Act([&] { screen.Vd_Periodos("NRDIAFINPGTO", " "); }));
    EXPECT_TRUE(Calls().empty()); // the insert below reads rows, so look now
    ASSERT_TRUE(Act([&] {
        Days().Cancel();
        Terms().Insert();
    }));
    ClearLog();
    EXPECT_TRUE(Act([&] { screen.Vd_Periodos("NRDIAINIPGTO", "05"); }));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Errors().empty());
}

} // namespace
