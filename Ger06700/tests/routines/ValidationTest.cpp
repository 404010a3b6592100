// The checks of a payment term and of a day row on each view, called as leaving a cell, storing
// and confirming call them, and the row against the periods the server holds for its term.
#include "RoutineFixture.h"

#include <sstream>

namespace {

using ger06700::TfrmFormPgto;
using Routine = void (TfrmFormPgto::*)(bool);

// Terms of the day checks, one per view, each with a first row so that a new row is a later one.
const char *const M = "20", *const S = "21", *const A = "22";
const char *const INI = "NRDIAINIPGTO", *const FIN = "NRDIAFINPGTO", *const MES = "NRMESFORMPGT",
                  *const PAY = "NRDIAPGTOVAR", *const NUM = "NRNUMMESPGTO";
constexpr Routine DiaFinal = &TfrmFormPgto::Vd_DiaFinal, MesPgto = &TfrmFormPgto::Vd_MesPgto,
                  NumMes = &TfrmFormPgto::Vd_NumMes, DiaPgto = &TfrmFormPgto::Vd_DiaPgto;
constexpr int kNewRow = -1;

// The term, its new row (initial, final, month, payment day, number of months; "-": none), the
// column selected and what is typed into it ("@...": picked); the check; the catalogue key shown
// ("": none), the column then selected and, unless null, what the first one's field holds.
struct DayCase {
    const char *term, *row, *column, *typed;
    Routine routine;
    bool obrigatorio;
    const char *error, *after, *stored;
};

// A period end past 31 left, a payment day missing when storing: typical-request, grid-focus.
// clang-format off
const DayCase kDayCases[] = {
    // The first and the last day of the period, by the column selected.
    {M, "11 - 0 20 -", FIN, "7", DiaFinal, false, "", FIN, "07"},  // one digit padded
    {M, "11 20 0 20 -", INI, "00", DiaFinal, false, "DiaPgto_maior+IniPeriodo", INI, "00"},
    {M, "- 20 0 20 -", INI, nullptr, DiaFinal, false, "", INI, ""},  // empty, leaving
    {M, "- 20 0 20 -", INI, nullptr, DiaFinal, true, "DiaInicial_inf", INI, nullptr},
    {M, "-3 20 0 20 -", INI, nullptr, DiaFinal, false, "DiaI_maior_zero", INI, nullptr},
    {M, "11 -1 0 20 -", FIN, nullptr, DiaFinal, false, "DiaF_maior_zero", FIN, nullptr},
    // A stored week day past Saturday; a day picked in the cell is not stored yet.
    {S, "04 09 0 05 -", FIN, "@Sábado", DiaFinal, false, "DiaPgto_inv+FinPeriodo", FIN, "09"},
    {S, "04 - 0 05 -", FIN, "@Sábado", DiaFinal, true, "DiaF_Empty", FIN, ""},
    {M, "- - 0 20 -", MES, nullptr, DiaFinal, true, "", MES, nullptr},  // nothing to check
    // The month or week of payment.
    {M, "11 20 - 20 -", INI, nullptr, MesPgto, true, "Mes_inf", MES, nullptr},
    {S, "04 05 - 05 -", INI, nullptr, MesPgto, true, "Semana_inf", MES, nullptr},
    // The number of months, or the week of the month.
    {M, "11 20 1 20 -", FIN, nullptr, NumMes, true, "NumMes_Inf", NUM, nullptr},
    {M, "11 20 0 20 -", FIN, nullptr, NumMes, true, "", FIN, nullptr},  // current month
    {M, "11 20 1 20 -", NUM, "0", NumMes, false, "NumMes_Inv", NUM, "0"},
    {M, "11 20 1 20 0", FIN, nullptr, NumMes, true, "", FIN, nullptr},  // zero, elsewhere
    {A, "11 20 1 02 -", NUM, "5", NumMes, false, "Sem_maior", NUM, "5"},
    {A, "11 20 1 02 -", NUM, "0", NumMes, false, "NumSem_Inv", NUM, nullptr},
    {A, "11 20 1 02 4", FIN, nullptr, NumMes, true, "", FIN, nullptr},
    {A, "11 20 1 02 -", FIN, nullptr, NumMes, true, "SemPgto_inf", NUM, nullptr},
    // The payment day with the period it belongs to.
    {M, "01 05 0 - -", PAY, "5", DiaPgto, true, "", PAY, "05"},  // on the period's end
    {M, "- 20 0 20 -", PAY, nullptr, DiaPgto, true, "DiaInicial_inf", INI, nullptr},
    {S, "04 05 0 - -", PAY, "6", DiaPgto, true, "DiaPg_Empty", PAY, nullptr},  // typed only
    {M, "11 20 0 -2 -", INI, nullptr, DiaPgto, true, "DiaPg_maior_zero", PAY, nullptr},
    {S, "04 05 1 08 -", PAY, "8", DiaPgto, true, "DiaPgto_inv+DiaPag", PAY, nullptr},
    {A, "11 20 1 09 2", PAY, "9", DiaPgto, true, "DiaPgto_inv+DiaPag", PAY, nullptr},
    {M, "11 32 1 20 -", INI, nullptr, DiaPgto, true, "DiaPgto_maior+FinPeriodo", FIN, nullptr},
    {M, "11 20 1 00 -", INI, nullptr, DiaPgto, true, "DiaPgto_maior+DiaPag", PAY, nullptr},
    {S, "04 05 1 00 -", PAY, "0", DiaPgto, true, "DiaPgto_inv+DiaPag", PAY, nullptr},
    // Paying before the period's end: refused in the current week or an unset month.
    {S, "01 07 0 01 -", INI, nullptr, DiaPgto, true, "DiaPgto_menor_atual", PAY, nullptr},
    {S, "01 07 1 01 -", INI, nullptr, DiaPgto, true, "", INI, nullptr},
    {M, "01 10 - 09 -", INI, nullptr, DiaPgto, true, "DiaPgto_menor_atual", PAY, nullptr},
    {A, "11 20 1 02 2", INI, nullptr, DiaPgto, true, "", INI, nullptr},
};
// clang-format on

// A new code padded and passing, a missing description: typical-request, grid-focus test.
TEST_F(RoutineTest, EachTermCheckReportsItsFieldAndPointsTheMasterGridAtIt) {
    const char *const CD = "CDFORMPGTO", *const NM = "NMFORMPGTO", *const TP = "IDTPPERIODO",
                      *const UT = "IDCONSDIAUTIL";
    constexpr Routine CodForm = &TfrmFormPgto::Vd_CodForm, Periodo = &TfrmFormPgto::Vd_Periodo;
    // clang-format off
    const std::pair<const char*, const char*> aNewTerm[] = {{NM, "Nova"}, {"IDTIPODTPGTO", "EMIN"},
        {"IDREFECALCPARC", "FORA_MES"}, {UT, "N"}, {"IDVRIGUALPARC", "S"}};
    // The term edited (null: a new one), the field blanked, the column selected, the keys; the
    // check; whether it passes, the key shown, the column then selected and its field.
    const struct {
        const char *edited, *blank, *column, *typed; Routine routine; bool obrigatorio, passes;
        const char *error, *after, *stored;
    } cases[] = {
        {nullptr, CD, NM, nullptr, CodForm, false, true, "", NM, nullptr},
        {nullptr, CD, NM, nullptr, CodForm, true, false, "Cod_inf", CD, nullptr},
        // A code another user stored after the list was read.
        {nullptr, nullptr, CD, "30", CodForm, false, false, "Cod_cad", CD, "30"},
        {nullptr, "IDTIPODTPGTO", CD, nullptr, &TfrmFormPgto::Vd_DataBase, true, false,
         "DataBase_inf", "IDTIPODTPGTO", nullptr},
        {"01", "IDREFECALCPARC", CD, nullptr, &TfrmFormPgto::Vd_DtReferencia, true, false,
         "Ref_Inf", "IDREFECALCPARC", nullptr},
        {nullptr, UT, CD, nullptr, &TfrmFormPgto::Vd_ConsideraDiasUteis, true, false,
         "DiaUtil_Inf", UT, nullptr},
        // The PeriodType: a picked text or a typed code letter is stored when the check runs.
        {nullptr, TP, NM, nullptr, Periodo, true, false, "Period_inf", TP, nullptr},
        {"31", nullptr, TP, "P", Periodo, true, true, "", TP, "M"},
        {"31", nullptr, TP, "s", Periodo, true, true, "", TP, "S"},
        {"31", nullptr, TP, "m", Periodo, false, false, "", TP, "M"},  // the letter it had
    };
    // clang-format on
    WriteTerm("31", "Sem dias", "M");
    ASSERT_TRUE(IniProc());
    WriteTerm("30", "De outro usuário", "S");
    plat::TDBGrid& master = Screen().dbgPadrao;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases + 1));
        ASSERT_TRUE(Act([&] {
            if (c.edited) {
                Terms().Locate("CDFORMPGTO", c.edited, false);
                Terms().Edit();
            } else {
                Terms().Insert();
                for (const auto& [field, value] : aNewTerm)
                    Terms().FieldByName(field).SetAsString(value);
            }
            if (c.blank) Terms().FieldByName(c.blank).Clear();
            Select(master, c.column);
            if (c.typed) Type(master, c.typed);
            Form().RequestFocus(ViewGrid());
        }));
        ClearLog();
        EXPECT_EQ(Act([&] { (Screen().*c.routine)(c.obrigatorio); }), c.passes);
        EXPECT_EQ(Shown(), Msg(c.error));
        EXPECT_EQ(Column(master), c.after);
        EXPECT_EQ(Form().ActiveControl() == &master, *c.error != '\0');
        const bool asked = c.typed && c.routine == CodForm;
        EXPECT_EQ(Calls(), asked ? Texts{"GetVerCdForm(" + std::string(c.typed) + ")"} : Texts{});
        EXPECT_TRUE(!c.stored || Terms().FieldByName(c.column).AsString() == c.stored);
        EXPECT_EQ(Terms().State(),
                  c.edited ? plat::TDataSetState::Edit : plat::TDataSetState::Insert);
        ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    }
}

class DayRoutineTest : public RoutineTest {
protected:
    void OpenWithTerms() {
        WriteTerm(M, "Mensal", "M", {{"01", "10", "10"}});
        WriteTerm(S, "Semanal", "S", {{"01", "03", "03"}});
        WriteTerm(A, "Semana do mês", "A", {{"01", "10", "02"}});
        ASSERT_TRUE(IniProc());
    }
    /// Starts a new row of term, or edits its row edited, writing the values row gives.
    void NewRow(const std::string& term, const std::string& row, int edited = kNewRow) {
        ASSERT_TRUE(Act([&] {
            if (Terms().FieldByName("CDFORMPGTO").AsString() != term)
                Terms().Locate("CDFORMPGTO", term, false);
            if (edited == kNewRow) {
                Days().Append();
            } else {
                Days().First();
                Days().MoveBy(edited);
                Days().Edit();
            }
            std::istringstream values(row);
            std::string value;
            for (const char* field : {INI, FIN, MES, PAY, NUM})
                if (values >> value)
                    Days().FieldByName(field).SetAsString(value == "-" ? "" : value);
            Form().RequestFocus(ViewGrid());
        }));
    }
    void DropRow() {
        ASSERT_TRUE(Act([&] {
            Days().Cancel();
            if (Terms().State() != plat::TDataSetState::Browse) Terms().Cancel();
        }));
    }
};

TEST_F(DayRoutineTest, EachDayCheckReportsItsRuleAndPointsTheViewGridAtTheField) {
    OpenWithTerms();
    for (const DayCase& c : kDayCases) {
        SCOPED_TRACE("case " + std::to_string(&c - kDayCases + 1));
        NewRow(c.term, c.row);
        plat::TDBGrid& grid = ViewGrid();
        ASSERT_TRUE(Act([&] {
            Select(grid, c.column);
            if (c.typed && c.typed[0] == '@')
                grid.Pick(c.typed + 1);
            else if (c.typed)
                Type(grid, c.typed);
        }));
        ClearLog();
        const bool passed = Act([&] { (Screen().*c.routine)(c.obrigatorio); });
        EXPECT_EQ(passed, *c.error == '\0');
        EXPECT_EQ(Shown(), Msg(c.error));
        EXPECT_EQ(Column(grid), c.after);
        EXPECT_EQ(Form().ActiveControl(), &grid);
        EXPECT_TRUE(!c.stored || Days().FieldByName(c.column).AsString() == c.stored);
        EXPECT_EQ(Days().State(), plat::TDataSetState::Insert);
        EXPECT_TRUE(Calls().empty());
        DropRow();
    }
    // The final-day check focuses the view's grid without the editing entering it starts, and
    // puts the grid's enter handling back afterwards, also when it fails.
    NewRow(S, "01 - 1 05 2");
    plat::TDBGrid& grid = ViewGrid();
    int entered = 0;
    const auto own = grid.OnEnter;
    grid.OnEnter = [&](plat::TControl&) { ++entered; };
    ASSERT_TRUE(Act([&] {
        Select(grid, FIN);
        Form().RequestFocus(Screen().dbgPadrao);
    }));
    EXPECT_FALSE(Act([&] { Screen().Vd_DiaFinal(true); }));
    EXPECT_EQ(Form().ActiveControl(), &grid);
    EXPECT_EQ(entered, 0);
    ASSERT_TRUE(grid.OnEnter);
    grid.OnEnter(grid);
    EXPECT_EQ(entered, 1);
    grid.OnEnter = own;
    DropRow();
}

// A row over a period's start, one after it, a first row edited into the next: day-grids.
TEST_F(DayRoutineTest, ARowSharingDaysWithAStoredPeriodIsReported) {
    // clang-format off
    // Periods loaded and added by another user later, the row edited (or new), its days, the
    // field checked.
    const struct {
        const char *name, *periodType;
        std::vector<std::pair<const char*, const char*>> stored, added;
        int edited; const char *row, *checked, *error;
    } cases[] = {
        {"initial day inside a period", "M", {{"10", "20"}}, {}, kNewRow, "15 -", INI, "SEQDIAINV"},
        {"day after the month's end", "M", {{"25", "05"}}, {}, kNewRow, "03 -", INI, "SEQDIAINV"},
        {"row between the two parts", "M", {{"25", "05"}}, {}, kNewRow, "06 24", FIN, ""},
        {"row past the month's end", "M", {{"01", "02"}}, {}, kNewRow, "28 03", INI, "SEQINV"},
        {"Saturday past the week", "S", {{"06", "02"}}, {}, kNewRow, "07 -", INI, "SEQDIAINV"},
        {"day 31, week of the month", "A", {{"28", "02"}}, {}, kNewRow, "31 -", INI, "SEQDIAINV"},
        {"row begins on a single day", "M", {{"15", "15"}}, {}, kNewRow, "15 20", FIN, "SEQDIAINV"},
        {"row holding a single day", "M", {{"15", "15"}}, {}, kNewRow, "10 20", FIN, ""},
        {"single-day row in a period", "M", {{"10", "20"}}, {}, kNewRow, "15 15", FIN, ""},
        {"middle row edited unchanged", "M", {{"01", "10"}, {"11", "20"}, {"21", "31"}}, {}, 1,
         "11 20", INI, ""},
        {"period past the rows", "M", {{"01", "10"}}, {{"15", "20"}}, kNewRow, "16 18", FIN, ""},
        {"periods in count", "M", {{"01", "10"}}, {{"15", "20"}}, kNewRow, "05 06", FIN, "SEQINV"},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::vector<std::string>> days;
        for (const auto& [ini, fin] : c.stored)
            days.push_back({ini, fin, fin});
        const std::string code = std::to_string(50 + (&c - cases));
        WriteTerm(code, c.name, c.periodType, days);
    }
    ASSERT_TRUE(IniProc());
    for (const auto& c : cases) {
        const std::string code = std::to_string(50 + (&c - cases));
        SCOPED_TRACE(c.name);
        Locate(code);
        for (const auto& [ini, fin] : c.added)
            Write("INSERT INTO DIAPGTO (CDFORMPGTO, NRDIAINIPGTO, NRDIAFINPGTO) VALUES (?, ?, ?)",
                  {code, std::string(ini), std::string(fin)});
        NewRow(code, c.row, c.edited);
        ASSERT_TRUE(Act([&] { Select(ViewGrid(), PAY); }));
        ClearLog();
        const bool passed =
            Act([&] { Screen().Vd_Periodos(c.checked, Days().FieldByName(c.checked).AsString()); });
        EXPECT_EQ(Shown(), Msg(c.error));
        EXPECT_EQ(passed, *c.error == '\0');
        EXPECT_EQ(Calls(), Texts{"GetPeriodo(" + code + ")"});
        EXPECT_EQ(Column(ViewGrid()), *c.error ? c.checked : PAY);
        DropRow();
    }
    // Without a day nothing is asked of the server.
    NewRow("50", "15");
    ClearLog();
    EXPECT_TRUE(Act([&] { Screen().Vd_Periodos(FIN, " "); }));
    EXPECT_TRUE(Calls().empty());
}

} // namespace
