// Moving along and between the grids with real keys: what leaving each column checks, what
// entering and leaving a day grid store, where the cursor lands when a check fails, and which
// side boTestaGrid says the user works on.
#include "ScreenFixture.h"

namespace {

using plat::TDataSetState;

TEST_F(ScreenTest, LeavingAColumnChecksWhatTheGridAndItsViewSayForIt) {
    WriteTerm("40", "Mensal", std::string("M"), {{"01", "15", "20"}});
    WriteTerm("41", "Semanal", std::string("S"), {{"01", "03", "05"}});
    WriteTerm("42", "Semana do mês", std::string("A"), {{"01", "15", "02"}});
    ASSERT_TRUE(IniProc());
    struct Case {
        const char* term;
        const char* grid; // the grid Alt+PageDown enters
        const char* column;
        const char* typed;
        bool period;        // leaving asked the server for the term's periods
        const char* stored; // what the column's field holds afterwards
        const char* after;  // the column selected afterwards
    };
    const char* const INI = "NRDIAINIPGTO";
    const char* const FIN = "NRDIAFINPGTO";
    const char* const NUM = "NRNUMMESPGTO";
    // The typical-request session leaves the month grid's period end and payment day, and the
    // day-grids session the week grid's period end; the checks refused on leaving keep the
    // cursor on the column there (a period end past the month's end, one overlapping the
    // next period).
    // clang-format off
    const Case cases[] = {
        {"40", "dbgDiaPgto", INI, "1", true, "01", FIN},
        {"40", "dbgDiaPgto", NUM, "2", false, "2", "NRDIAPGTOSEMANA"},
        {"41", "dbgDiaSemana", INI, "2", true, "02", FIN},
        {"42", "dbgSemanaMes", INI, "1", true, "01", FIN},
        {"42", "dbgSemanaMes", FIN, "9", true, "09", "NRMESFORMPGT"},
        {"42", "dbgSemanaMes", NUM, "3", false, "3", "NRDIAPGTOVAR"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " " + c.grid + " " + c.column);
        Locate(c.term);
        // Alt+PageDown enters the detail on show.
        ASSERT_TRUE(Key(plat::VK_NEXT, kAlt));
        ASSERT_EQ(Active(), c.grid);
        ASSERT_EQ(Days().State(), TDataSetState::Edit); // entering put the row into editing
        Select(c.grid, c.column);
        Type(c.typed);
        ClearLog();
        Key(plat::VK_TAB);
        EXPECT_EQ(Calls(), c.period ? Texts{"GetPeriodo(" + std::string(c.term) + ")"} : Texts{});
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Column(c.grid), c.after);
        EXPECT_EQ(Days().FieldByName(c.column).AsString(), c.stored);
        // Nothing was sent: the row is dropped and Alt+PageUp goes back to the master grid.
        Key(plat::VK_ESCAPE);
        ASSERT_TRUE(Key(plat::VK_PRIOR, kAlt));
        EXPECT_EQ(Active(), "dbgPadrao");
        EXPECT_EQ(Terms().State(), TDataSetState::Browse);
    }
    // A stored term's description left unchecked: the term-refused session.
}

TEST_F(ScreenTest, EnteringAndLeavingTheDayGridsStoreAndTellWhichSideTheUserIsOn) {
    WriteTerm("40", "Mensal", std::string("M"), {{"01", "15", "20"}});
    ASSERT_TRUE(IniProc());
    plat::TWinControl& navigator = Part<plat::TWinControl>("dbnPadrao");
    // Before a day grid was first left, entering the master grid says nothing.
    EXPECT_FALSE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(navigator); }));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(Grid("dbgPadrao")); }));
    EXPECT_FALSE(Flag("boTestaGrid"));

    // A header that cannot be stored keeps the user in the master grid, rows untouched.
    Locate("40");
    ASSERT_TRUE(Act([&] {
        Terms().Edit();
        Terms().FieldByName("NMFORMPGTO").SetAsString("");
    }));
    ClearLog();
    Key(plat::VK_NEXT, kAlt);
    EXPECT_EQ(Shown(), "Descrição deve ser informada.");
    EXPECT_EQ(Active(), "dbgPadrao");
    EXPECT_EQ(Column("dbgPadrao"), "NMFORMPGTO");
    EXPECT_EQ(Days().State(), TDataSetState::Browse);
    EXPECT_TRUE(Calls().empty());
    ASSERT_TRUE(Act([&] { Terms().Cancel(); }));

    // A row that fails its checks keeps the user in the day grid; nothing is stored.
    ASSERT_TRUE(Key(plat::VK_NEXT, kAlt));
    EXPECT_FALSE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Days().FieldByName("NRDIAPGTOVAR").SetAsString(""); }));
    ClearLog();
    Key(plat::VK_PRIOR, kAlt);
    EXPECT_EQ(Shown(), "Dia de pagamento deve ser informado.");
    EXPECT_EQ(Active(), "dbgDiaPgto");
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(StoredDays("40")[0][3], "20");

    // Rows only looked at leave the term as stored: nothing sent, nothing to cancel.
    Key(plat::VK_ESCAPE);
    ClearLog();
    ASSERT_TRUE(Key(plat::VK_PRIOR, kAlt));
    EXPECT_EQ(Active(), "dbgPadrao");
    EXPECT_EQ(Column("dbgPadrao"), "CDFORMPGTO");
    EXPECT_EQ(Terms().State(), TDataSetState::Browse);
    EXPECT_TRUE(Form().sbtIncluir.Enabled());
    for (const std::string& call : Calls())
        EXPECT_EQ(call.rfind("Set", 0), std::string::npos) << call;
    // From now on the master grid tells when it is entered and left.
    EXPECT_TRUE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(navigator); }));
    EXPECT_FALSE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(Grid("dbgPadrao")); }));
    EXPECT_TRUE(Flag("boTestaGrid"));

    // With no term at all, entering a day grid asks for the code and starts no row.
    Write("DELETE FROM DIAPGTO");
    Write("DELETE FROM FORMPGTO");
    ASSERT_TRUE(Act([&] { Form().sbtVerificarClick(Form().sbtVerificar); }));
    ClearLog();
    Key(plat::VK_NEXT, kAlt);
    EXPECT_EQ(Shown(), "Código deve ser informado.");
    EXPECT_EQ(Days().State(), TDataSetState::Browse);
    EXPECT_EQ(Active(), "dbgPadrao");
    // Leaving the master grid on the way cleared the flag; the refused entry kept it so.
    EXPECT_FALSE(Flag("boTestaGrid"));
}

} // namespace
