// The checks of a payment-day row on each of the three views, called as leaving a cell,
// storing the row and the confirm command call them.
#include "RoutineFixture.h"

#include <sstream>

namespace {

using ger06700::TfrmFormPgto;
using Routine = void (TfrmFormPgto::*)(bool);

// Terms written for these checks, one per view, each with a first row so that a new row is
// a later one.
constexpr const char* M = "20";
constexpr const char* S = "21";
constexpr const char* A = "22";

constexpr const char* INI = "NRDIAINIPGTO";
constexpr const char* FIN = "NRDIAFINPGTO";
constexpr const char* MES = "NRMESFORMPGT";
constexpr const char* PAY = "NRDIAPGTOVAR";
constexpr const char* NUM = "NRNUMMESPGTO";

constexpr Routine DiaFinal = &TfrmFormPgto::Vd_DiaFinal;
constexpr Routine MesPgto = &TfrmFormPgto::Vd_MesPgto;
constexpr Routine NumMes = &TfrmFormPgto::Vd_NumMes;
constexpr Routine DiaPgto = &TfrmFormPgto::Vd_DiaPgto;

const char* const kAnyMessage = "*";

struct DayCase {
    const char* name;
    const char* term;
    const char* row;    // initial, final, month, payment day, number of months; "-" for none
    const char* column; // view-grid column selected before the check
    const char* typed;  // typed into that cell and not left; "@..." picks it from the list
    Routine routine;
    bool obrigatorio;
    const char* error;  // message shown; empty: none; kAnyMessage: one, whichever
    const char* after;  // view-grid column selected afterwards
    const char* stored; // what the field of the column holds afterwards; null: not checked
};

// clang-format off
const DayCase kDayCases[] = {
    // The first and the last day of the period, by the column selected.
    {"M: one-digit final day", M, "11 - 0 20 -", FIN, "7", DiaFinal, false, "", FIN, "07"},
    {"A: one-digit initial day", A, "- 20 1 02 2", INI, "5", DiaFinal, true, "", INI, "05"},
    {"M: final day above 31", M, "11 20 0 20 -", FIN, "32", DiaFinal, false,
     "Dia final do período deve estar entre 01 e 31.", FIN, "32"},
    {"M: final day 00 passes the zero test", M, "11 20 0 20 -", FIN, "00", DiaFinal, false,
     "Dia final do período deve estar entre 01 e 31.", FIN, "00"},
    {"A: initial day above 31", A, "11 20 1 02 2", INI, "40", DiaFinal, false,
     "Dia Inicio do Período deve estar entre 01 e 31.", INI, nullptr},
    {"M: empty initial day, leaving", M, "- 20 0 20 -", INI, nullptr, DiaFinal, false, "", INI, ""},
    {"M: empty initial day, storing", M, "- 20 0 20 -", INI, nullptr, DiaFinal, true,
     "Dia inicial do período deve ser informado.", INI, nullptr},
    {"M: empty final day, storing", M, "11 - 0 20 -", FIN, nullptr, DiaFinal, true,
     "Dia final do período deve ser informado.", FIN, nullptr},
    {"M: initial day below zero", M, "-3 20 0 20 -", INI, nullptr, DiaFinal, false,
     "Dia inicial do período deve ser maior que zero.", INI, nullptr},
    {"M: final day below zero", M, "11 -1 0 20 -", FIN, nullptr, DiaFinal, false,
     "Dia final do período deve ser maior que zero.", FIN, nullptr},
    {"S: stored final day past Saturday", S, "04 09 0 05 -", FIN, "@Sábado", DiaFinal, false,
     "Dia final do período informado deve estar entre 01 e 07.", FIN, "09"},
    {"S: stored initial day past Saturday", S, "08 05 0 05 -", INI, "@Domingo", DiaFinal, false,
     "Dia Inicio do Período informado deve estar entre 01 e 07.", INI, nullptr},
    {"S: a picked day is not stored here", S, "04 - 0 05 -", FIN, "@Sábado", DiaFinal, true,
     "Dia final do período deve ser informado.", FIN, ""},
    {"M: a letter in the initial day", M, "11 20 0 20 -", INI, "x", DiaFinal, false, kAnyMessage,
     INI, nullptr},
    {"another column: nothing to check", M, "- - 0 20 -", MES, nullptr, DiaFinal, true, "", MES,
     nullptr},

    // The month or week of payment.
    {"M: month not set", M, "11 20 - 20 -", INI, nullptr, MesPgto, true,
     "Mês de pagamento deve ser informado.", MES, nullptr},
    {"S: week not set", S, "04 05 - 05 -", INI, nullptr, MesPgto, true,
     "Semana de pagamento deve ser informada.", MES, nullptr},
    {"M: month not set, leaving", M, "11 20 - 20 -", INI, nullptr, MesPgto, false, "", INI, nullptr},

    // The number of months, or the week of the month.
    {"M: following month, no number", M, "11 20 1 20 -", FIN, nullptr, NumMes, true,
     "Número de meses deve ser informado.", NUM, nullptr},
    {"M: current month, no number", M, "11 20 0 20 -", FIN, nullptr, NumMes, true, "", FIN, nullptr},
    {"M: zero months, leaving the cell", M, "11 20 1 20 -", NUM, "0", NumMes, false,
     "Número de meses deve ser maior que zero.", NUM, "0"},
    {"M: zero months, storing elsewhere", M, "11 20 1 20 0", FIN, nullptr, NumMes, true, "", FIN,
     nullptr},
    {"A: week 5", A, "11 20 1 02 -", NUM, "5", NumMes, false,
     "Semana de pagamento deve estar entre 01 e 04.", NUM, "5"},
    {"A: week 0 is below zero first", A, "11 20 1 02 -", NUM, "0", NumMes, false,
     "Número de semanas deve ser maior que zero.", NUM, nullptr},
    {"A: week 4 is the last", A, "11 20 1 02 4", FIN, nullptr, NumMes, true, "", FIN, nullptr},
    {"A: week not given, storing", A, "11 20 1 02 -", FIN, nullptr, NumMes, true,
     "Semana de pagamento deve ser informado.", NUM, nullptr},
    {"M: a letter in the number", M, "11 20 1 20 -", NUM, "x", NumMes, false, kAnyMessage, NUM,
     nullptr},

    // The payment day with the period it belongs to.
    {"M: payment day not given", M, "11 20 0 - -", INI, nullptr, DiaPgto, true,
     "Dia de pagamento deve ser informado.", PAY, nullptr},
    {"M: payment day not given, leaving", M, "11 20 0 - -", INI, nullptr, DiaPgto, false, "", INI,
     nullptr},
    {"M: one-digit payment day", M, "01 05 0 - -", PAY, "5", DiaPgto, true, "", PAY, "05"},
    {"M: initial day missing", M, "- 20 0 20 -", PAY, nullptr, DiaPgto, true,
     "Dia inicial do período deve ser informado.", INI, nullptr},
    {"M: final day missing", M, "11 - 0 20 -", PAY, nullptr, DiaPgto, true,
     "Dia final do período deve ser informado.", FIN, nullptr},
    {"S: payment day typed, not stored", S, "04 05 0 - -", PAY, "6", DiaPgto, true,
     "Dia de pagamento deve ser informado.", PAY, nullptr},
    {"M: payment day below zero", M, "11 20 0 -2 -", INI, nullptr, DiaPgto, true,
     "Dia de pagamento deve ser maior que zero.", PAY, nullptr},
    {"S: payment day past Saturday", S, "04 05 1 08 -", PAY, "8", DiaPgto, true,
     "Dia de pagamento informado deve estar entre 01 e 07.", PAY, nullptr},
    {"A: payment weekday past Saturday", A, "11 20 1 09 2", PAY, "9", DiaPgto, true,
     "Dia de pagamento informado deve estar entre 01 e 07.", PAY, nullptr},
    {"M: final day above 31", M, "11 32 1 20 -", INI, nullptr, DiaPgto, true,
     "Dia final do período deve estar entre 01 e 31.", FIN, nullptr},
    {"M: payment day 00", M, "11 20 1 00 -", INI, nullptr, DiaPgto, true,
     "Dia de pagamento deve estar entre 01 e 31.", PAY, nullptr},
    {"S: payment day 00", S, "04 05 1 00 -", PAY, "0", DiaPgto, true,
     "Dia de pagamento informado deve estar entre 01 e 07.", PAY, nullptr},
    {"S: payment before the end, this week", S, "01 07 0 01 -", INI, nullptr, DiaPgto, true,
     "Dia de pagamento deve ser maior ou igual ao dia final do período.", PAY, nullptr},
    {"S: the same, next week", S, "01 07 1 01 -", INI, nullptr, DiaPgto, true, "", INI, nullptr},
    {"M: payment on the last day", M, "01 10 0 10 -", INI, nullptr, DiaPgto, true, "", INI, nullptr},
    {"M: the day before, month not set", M, "01 10 - 09 -", INI, nullptr, DiaPgto, true,
     "Dia de pagamento deve ser maior ou igual ao dia final do período.", PAY, nullptr},
    {"A: a weekday before the end", A, "11 20 1 02 2", INI, nullptr, DiaPgto, true, "", INI, nullptr},
};
// clang-format on

class DayRoutineTest : public RoutineTest {
protected:
    void OpenWithTerms() {
        WriteTerm(M, "Mensal", std::string("M"), {{"01", "10", "10"}});
        WriteTerm(S, "Semanal", std::string("S"), {{"01", "03", "03"}});
        WriteTerm(A, "Semana do mês", std::string("A"), {{"01", "10", "02"}});
        ASSERT_TRUE(IniProc());
    }
    /// Starts a new row of term holding the values of row, the view's grid holding the focus.
    void NewRow(const char* term, const std::string& row) {
        ASSERT_TRUE(Act([&] {
            if (Terms().FieldByName("CDFORMPGTO").AsString() != term) {
                ASSERT_TRUE(Terms().Locate("CDFORMPGTO", term, false));
            }
            Days().Append();
            std::istringstream values(row);
            for (const char* field : {INI, FIN, MES, PAY, NUM}) {
                std::string value;
                values >> value;
                Days().FieldByName(field).SetAsString(value == "-" ? "" : value);
            }
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
    TfrmFormPgto& screen = Screen();
    for (const DayCase& c : kDayCases) {
        SCOPED_TRACE(c.name);
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
        const bool passed = Act([&] { (screen.*c.routine)(c.obrigatorio); });
        const std::string error = c.error;
        EXPECT_EQ(passed, error.empty());
        if (error == kAnyMessage)
            EXPECT_EQ(Errors().size(), 1u);
        else
            EXPECT_EQ(Shown(), error);
        EXPECT_EQ(SelectedField(grid), c.after);
        EXPECT_EQ(Form().ActiveControl(), &grid);
        if (c.stored) {
            EXPECT_EQ(Days().FieldByName(c.column).AsString(), c.stored);
        }
        // A failed check leaves the row being entered with what was written so far.
        EXPECT_EQ(Days().State(), plat::TDataSetState::Insert);
        EXPECT_TRUE(Calls().empty());
        DropRow();
    }
}

TEST_F(DayRoutineTest, TheDayCheckFocusesTheViewGridWithoutRunningItsEnterHandling) {
    OpenWithTerms();
    TfrmFormPgto& screen = Screen();
    for (const char* term : {M, S, A}) {
        for (const char* fin : {"", "05"}) {
            SCOPED_TRACE(std::string(term) + " final day '" + fin + "'");
            NewRow(term, std::string("01 ") + (*fin ? fin : "-") + " 1 05 2");
            plat::TDBGrid& grid = ViewGrid();
            int entered = 0;
            const auto own = grid.OnEnter;
            grid.OnEnter = [&](plat::TControl&) { ++entered; };
            ASSERT_TRUE(Act([&] {
                Select(grid, "NRDIAFINPGTO");
                Form().RequestFocus(screen.dbgPadrao);
            }));
            EXPECT_EQ(Act([&] { screen.Vd_DiaFinal(true); }), *fin != '\0');
            EXPECT_EQ(Form().ActiveControl(), &grid);
            EXPECT_EQ(entered, 0);
            ASSERT_TRUE(grid.OnEnter);
            grid.OnEnter(grid);
            EXPECT_EQ(entered, 1);
            grid.OnEnter = own;
            DropRow();
        }
    }
}

} // namespace
