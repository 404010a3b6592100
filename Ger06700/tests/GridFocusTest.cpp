// Moving along and between the grids with real keys: what each column takes and what leaving
// it checks, what entering and leaving a day grid store, where the cursor lands when a
// check fails, and which side boTestaGrid says the user works on.
#include "ScreenFixture.h"

namespace {

using plat::TDataSetState;

// Keys typed into a day-grid cell: what the cell and its field take, and what leaving the
// column with Tab checks and stores.
TEST_F(ScreenTest, TypingInADayGridAndLeavingTheColumn) {
    WriteTerm("40", "Mensal", std::string("M"), {{"01", "15", "20"}});
    WriteTerm("41", "Semanal", std::string("S"), {{"01", "03", "05"}});
    WriteTerm("42", "Semana do mês", std::string("A"), {{"01", "15", "02"}});
    ASSERT_TRUE(IniProc());
    struct Case {
        const char* term;
        const char* grid; // the grid Alt+PageDown enters
        const char* column;
        const char* typed;
        const char* cell;   // the cell's text, the column not left; null: Tab leaves it
        const char* after;  // the column selected after Tab
        bool period;        // leaving asked the server for the term's periods
        const char* stored; // what the column's field holds afterwards
    };
    const char* const INI = "NRDIAINIPGTO";
    const char* const FIN = "NRDIAFINPGTO";
    const char* const PAY = "NRDIAPGTOVAR";
    const char* const NUM = "NRNUMMESPGTO";
    const char* const WEEKDAY = "NRDIAPGTOSEMANA";
    // The typical-request session leaves the month grid's period end and payment day, and the
    // day-grids session the week grid's period end; the checks refused on leaving keep the
    // cursor on the column there (a period end past the month's end, one overlapping the
    // next period). Escape restoring a typed cell: the day-grids session.
    // clang-format off
    const Case cases[] = {
        {"40", "dbgDiaPgto", FIN, "a1", "1", nullptr, false, "15"},
        {"40", "dbgDiaPgto", WEEKDAY, "s", "Sábado", nullptr, false, "07"},
        {"40", "dbgDiaPgto", WEEKDAY, "d", "Domingo", nullptr, false, "01"},
        {"40", "dbgDiaPgto", WEEKDAY, "0", "", nullptr, false, "00"},
        {"40", "dbgDiaPgto", WEEKDAY, "1", "1", nullptr, false, "00"},
        {"41", "dbgDiaSemana", FIN, "3", "Terça", nullptr, false, "03"},
        {"41", "dbgDiaSemana", INI, "9", " ", nullptr, false, "01"},
        {"42", "dbgSemanaMes", PAY, "4", "Quarta", nullptr, false, "04"},
        {"42", "dbgSemanaMes", INI, "x", "01", nullptr, false, "01"},
        {"40", "dbgDiaPgto", INI, "1", nullptr, FIN, true, "01"},
        {"40", "dbgDiaPgto", NUM, "2", nullptr, WEEKDAY, false, "2"},
        {"41", "dbgDiaSemana", INI, "2", nullptr, FIN, true, "02"},
        {"42", "dbgSemanaMes", INI, "1", nullptr, FIN, true, "01"},
        {"42", "dbgSemanaMes", FIN, "9", nullptr, "NRMESFORMPGT", true, "09"},
        {"42", "dbgSemanaMes", NUM, "3", nullptr, PAY, false, "3"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " " + c.grid + " " + c.column + " '" + c.typed + "'");
        Locate(c.term);
        // Alt+PageDown enters the detail on show.
        ASSERT_TRUE(Key(plat::VK_NEXT, kAlt));
        ASSERT_EQ(Active(), c.grid);
        ASSERT_EQ(Days().State(), TDataSetState::Edit); // entering put the row into editing
        Select(c.grid, c.column);
        const std::string before = Days().FieldByName(c.column).AsString();
        Type(c.typed);
        ClearLog();
        if (c.cell) {
            EXPECT_EQ(Grid(c.grid).CurrentText(c.column), c.cell);
            EXPECT_EQ(Days().FieldByName(c.column).AsString(), c.stored);
            // Ctrl+Delete does not delete the row.
            ASSERT_TRUE(Key(plat::VK_DELETE, {false, true, false}));
            EXPECT_TRUE(plat::Application().Headless().Transcript().empty());
        } else {
            Key(plat::VK_TAB);
            EXPECT_EQ(Calls(),
                      c.period ? Texts{"GetPeriodo(" + std::string(c.term) + ")"} : Texts{});
            EXPECT_TRUE(Errors().empty());
            EXPECT_EQ(Column(c.grid), c.after);
            EXPECT_EQ(Days().FieldByName(c.column).AsString(), c.stored);
        }
        // Nothing was sent: Escape drops the row and Alt+PageUp goes back to the master grid.
        const bool escaped = Key(plat::VK_ESCAPE);
        if (c.cell) {
            EXPECT_TRUE(escaped);
            EXPECT_EQ(Days().State(), TDataSetState::Browse);
            EXPECT_EQ(Days().FieldByName(c.column).AsString(), before);
        }
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

// The master grid's keys while a term is edited: posting from the PeriodType cell, the protected
// code, and the characters each coded column takes.
TEST_F(ScreenTest, MasterGridKeysWhileATermIsEdited) {
    const auto Term = [&](const char* field) { return Terms().FieldByName(field).AsString(); };
    WriteTerm("31", "Sem dias", std::string("M"));
    ASSERT_TRUE(IniProc());
    Locate("31");
    // The code of a stored term cannot be erased, in browse state or while editing.
    Select("dbgPadrao", "CDFORMPGTO");
    for (std::uint16_t key : {plat::VK_BACK, plat::VK_DELETE}) {
        Key(key); // ends in the silent abort
        EXPECT_EQ(Grid("dbgPadrao").CurrentText("CDFORMPGTO"), "31");
        EXPECT_EQ(Terms().State(), plat::TDataSetState::Browse);
        EXPECT_FALSE(Grid("dbgPadrao").EditorModified());
    }
    // Down moves to the next cell of the row being edited.
    Select("dbgPadrao", "NMFORMPGTO");
    ASSERT_TRUE(Type("X"));
    ASSERT_TRUE(Key(plat::VK_DOWN));
    EXPECT_EQ(Term("CDFORMPGTO"), "31");
    EXPECT_EQ(Column("dbgPadrao"), "IDTIPODTPGTO");
    EXPECT_EQ(Term("NMFORMPGTO"), "X");
    // D steps the reference date along its codes; other letters are dropped.
    ASSERT_TRUE(Act([&] { Terms().FieldByName("IDTIPODTPGTO").Clear(); }));
    for (const char* code : {"EMIN", "EMEX", "ENIN"}) {
        ASSERT_TRUE(Type("d"));
        EXPECT_EQ(Term("IDTIPODTPGTO"), code);
    }
    ASSERT_TRUE(Type("x"));
    EXPECT_EQ(Term("IDTIPODTPGTO"), "ENIN");
    EXPECT_FALSE(Grid("dbgPadrao").EditorModified());
    Select("dbgPadrao", "IDREFECALCPARC");
    ASSERT_TRUE(Type("F"));
    EXPECT_FALSE(Grid("dbgPadrao").EditorModified());
    // Lower-case n and s leave the flag as it was, also when the cell is left (S and N stored
    // as typed: the typical-request session).
    Select("dbgPadrao", "IDCONSDIAUTIL");
    for (const char* typed : {"n", "s"}) {
        SCOPED_TRACE(typed);
        const std::string expected = Term("IDCONSDIAUTIL");
        ASSERT_TRUE(Type(typed));
        EXPECT_EQ(Term("IDCONSDIAUTIL"), expected);
        ASSERT_TRUE(Key(plat::VK_TAB, kShift));
        ASSERT_TRUE(Key(plat::VK_TAB));
        EXPECT_EQ(Term("IDCONSDIAUTIL"), expected);
    }
    // Tab in the PeriodType cell stores the term and stays in the cell.
    Select("dbgPadrao", "IDTPPERIODO");
    ASSERT_TRUE(Key(plat::VK_TAB, kShift));
    EXPECT_EQ(Terms().State(), plat::TDataSetState::Browse);
    EXPECT_EQ(Column("dbgPadrao"), "IDTPPERIODO");
    EXPECT_EQ(Term("IDCONSDIAUTIL"), "N");
}

} // namespace
