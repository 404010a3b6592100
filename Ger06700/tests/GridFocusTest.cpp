// Typing into the grids and moving between them with real keys: what each column takes and how
// its codes read, what entering and leaving a day grid store, and boTestaGrid.
#include "ScreenFixture.h"

namespace {

using plat::TDataSetState;
using plat::Value;

const Value kNull{};
Value T(const char* text) {
    return std::string(text);
}

// Escape restoring a typed cell, the checks and periods of a column left: day-grids and
// typical-request.
TEST_F(ScreenTest, TypingInTheDayGridsAndEnteringAndLeavingThem) {
    WriteTerm("40", "Mensal", "M", {{"01", "15", "20"}});
    WriteTerm("41", "Semanal", "S", {{"01", "03", "05"}});
    WriteTerm("42", "Semana do mês", "A", {{"01", "15", "02"}});
    ASSERT_TRUE(IniProc());
    plat::TWinControl& navigator = Part<plat::TWinControl>("dbnPadrao");
    // Before a day grid was first left, entering the master grid says nothing.
    ASSERT_TRUE(Act([&] {
        Form().MoveFocus(navigator);
        Form().MoveFocus(Grid("dbgPadrao"));
    }));
    EXPECT_FALSE(Flag("boTestaGrid"));
    // Term, grid Alt+PageDown enters, column, keys; the cell's text and its field's value.
    const struct {
        const char *term, *grid, *column, *typed, *cell, *stored;
    } cases[] = {
        {"40", "dbgDiaPgto", "NRDIAFINPGTO", "a1", "1", "15"},
        {"40", "dbgDiaPgto", "NRDIAPGTOSEMANA", "s", "Sábado", "07"},
        {"40", "dbgDiaPgto", "NRDIAPGTOSEMANA", "0", "", "00"},
        {"40", "dbgDiaPgto", "NRDIAPGTOSEMANA", "1", "1", "00"},
        {"41", "dbgDiaSemana", "NRDIAFINPGTO", "3", "Terça", "03"},
        {"41", "dbgDiaSemana", "NRDIAINIPGTO", "9", " ", "01"},
        {"42", "dbgSemanaMes", "NRDIAPGTOVAR", "4", "Quarta", "04"},
        {"42", "dbgSemanaMes", "NRDIAINIPGTO", "x", "01", "01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + " " + c.column + " '" + c.typed + "'");
        Locate(c.term);
        ASSERT_TRUE(Key(plat::VK_NEXT, kAlt)); // enters the detail on show
        ASSERT_EQ(Active(), c.grid);
        Select(c.grid, c.column);
        Type(c.typed);
        EXPECT_EQ(Grid(c.grid).CurrentText(c.column), c.cell);
        EXPECT_EQ(Days().FieldByName(c.column).AsString(), c.stored);
        // Ctrl+Delete does not delete the row.
        ClearLog();
        ASSERT_TRUE(Key(plat::VK_DELETE, {false, true, false}));
        EXPECT_TRUE(plat::Application().Headless().Transcript().empty());
        Key(plat::VK_ESCAPE);
        ASSERT_TRUE(Key(plat::VK_PRIOR, kAlt));
    }
    // Leaving the month grid's initial day brings it to two digits.
    Locate("40");
    ASSERT_TRUE(Key(plat::VK_NEXT, kAlt));
    Select("dbgDiaPgto", "NRDIAINIPGTO");
    ASSERT_TRUE(Type("1"));
    ASSERT_TRUE(Key(plat::VK_TAB));
    EXPECT_EQ(Column("dbgDiaPgto"), "NRDIAFINPGTO");
    EXPECT_EQ(Days().FieldByName("NRDIAINIPGTO").AsString(), "01");
    Key(plat::VK_ESCAPE);
    ASSERT_TRUE(Key(plat::VK_PRIOR, kAlt));
    // A header that cannot be stored keeps the user in the master grid, rows untouched.
    ASSERT_TRUE(Act([&] {
        Terms().Edit();
        Terms().FieldByName("NMFORMPGTO").SetAsString("");
    }));
    ClearLog();
    Key(plat::VK_NEXT, kAlt);
    EXPECT_EQ(Shown(), "Descrição deve ser informada.");
    EXPECT_EQ(Active(), "dbgPadrao");
    EXPECT_EQ(Days().State(), TDataSetState::Browse);
    ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    // A row that fails its checks keeps the user in the day grid; nothing is stored.
    ASSERT_TRUE(Key(plat::VK_NEXT, kAlt));
    ASSERT_TRUE(Act([&] { Days().FieldByName("NRDIAPGTOVAR").SetAsString(""); }));
    ClearLog();
    Key(plat::VK_PRIOR, kAlt);
    EXPECT_EQ(Shown(), "Dia de pagamento deve ser informado.");
    EXPECT_EQ(Active(), "dbgDiaPgto");
    EXPECT_TRUE(Calls().empty());
    // Rows only looked at leave the term as stored, nothing sent; from now on the master grid
    // tells when it is entered and left.
    Key(plat::VK_ESCAPE);
    ClearLog();
    ASSERT_TRUE(Key(plat::VK_PRIOR, kAlt));
    EXPECT_EQ(Active(), "dbgPadrao");
    EXPECT_EQ(Terms().State(), TDataSetState::Browse);
    for (const std::string& call : Calls())
        EXPECT_EQ(call.rfind("Set", 0), std::string::npos) << call;
    EXPECT_TRUE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(navigator); }));
    EXPECT_FALSE(Flag("boTestaGrid"));
    ASSERT_TRUE(Act([&] { Form().MoveFocus(Grid("dbgPadrao")); }));
    EXPECT_TRUE(Flag("boTestaGrid"));
    // With no term, only insert and reload remain and the navigator is off; entering a day grid
    // asks for the code and starts no row.
    Write("DELETE FROM DIAPGTO");
    Write("DELETE FROM FORMPGTO");
    ASSERT_TRUE(Act([&] { Form().sbtVerificarClick(Form().sbtVerificar); }));
    plat::TfrmPadraoGrid& f = Form();
    for (const auto* b : {&f.sbtIncluir, &f.RecordCommand2(), &f.sbtExcluir, &f.RecordCommand4()})
        EXPECT_EQ(b->Enabled(), b == &f.sbtIncluir) << b->Name();
    EXPECT_TRUE(f.mnuVerificar.Enabled() && !f.mnuExcluir.Enabled() && !navigator.Enabled());
    ClearLog();
    Key(plat::VK_NEXT, kAlt);
    EXPECT_EQ(Shown(), "Código deve ser informado.");
    EXPECT_EQ(Days().State(), TDataSetState::Browse);
}

// The protected code, Down while editing, the characters each coded column takes (S and N in a
// flag column: the typical-request session), and Tab in the PeriodType cell.
TEST_F(ScreenTest, MasterGridKeysWhileATermIsEdited) {
    const auto Term = [&](const char* field) { return Terms().FieldByName(field).AsString(); };
    WriteTerm("31", "Sem dias", "M");
    ASSERT_TRUE(IniProc());
    Locate("31");
    Select("dbgPadrao", "CDFORMPGTO");
    for (std::uint16_t key : {plat::VK_BACK, plat::VK_DELETE}) {
        Key(key); // ends in the silent abort
        EXPECT_EQ(Grid("dbgPadrao").CurrentText("CDFORMPGTO"), "31");
        EXPECT_EQ(Terms().State(), TDataSetState::Browse);
    }
    // Down moves to the next cell of the row being edited.
    Select("dbgPadrao", "NMFORMPGTO");
    ASSERT_TRUE(Type("X"));
    ASSERT_TRUE(Key(plat::VK_DOWN));
    EXPECT_EQ(Column("dbgPadrao"), "IDTIPODTPGTO");
    // D steps the reference date along its codes; other letters are dropped.
    ASSERT_TRUE(Act([&] { Terms().FieldByName("IDTIPODTPGTO").Clear(); }));
    ASSERT_TRUE(Type("d"));
    EXPECT_EQ(Term("IDTIPODTPGTO"), "EMIN");
    ASSERT_TRUE(Type("dx"));
    EXPECT_EQ(Term("IDTIPODTPGTO"), "EMEX");
    EXPECT_FALSE(Grid("dbgPadrao").EditorModified());
    Select("dbgPadrao", "IDREFECALCPARC");
    ASSERT_TRUE(Type("F"));
    EXPECT_FALSE(Grid("dbgPadrao").EditorModified());
    // A lower-case s leaves the flag as it was, also when the cell is left.
    Select("dbgPadrao", "IDCONSDIAUTIL");
    ASSERT_TRUE(Type("s"));
    ASSERT_TRUE(Key(plat::VK_TAB, kShift));
    ASSERT_TRUE(Key(plat::VK_TAB));
    // Tab in the PeriodType cell stores the term and stays in the cell.
    Select("dbgPadrao", "IDTPPERIODO");
    ASSERT_TRUE(Key(plat::VK_TAB, kShift));
    EXPECT_EQ(Terms().State(), TDataSetState::Browse);
    EXPECT_EQ(Column("dbgPadrao"), "IDTPPERIODO");
    EXPECT_EQ(Term("IDCONSDIAUTIL"), "N");
    EXPECT_EQ(Term("NMFORMPGTO"), "X");
}

// Codes and texts both ways, compared whole and exactly (case, accents, "º", blanks). Each code
// of the lists shown, and entries picked: open-screen, move-in-list, day-grids, day-rows,
// typical-request and period-type-change.
TEST_F(ScreenTest, ADescriptionClearedAndCodesAndTextsOutsideTheLists) {
    // Codes no list holds or shown as they are, then texts that are no entry or stored as typed.
    // clang-format off
    const struct {
        const char *periodType, *field; Value stored; const char *shown, *typed; Value after;
    } others[] = {
        {"M", "IDTIPODTPGTO", kNull, "", "", T("DSEX")},
        {"M", "IDTIPODTPGTO", T("emin"), "Data de Saída (Exclusive)",
         "Data de Emissão da NF (Inclusive) ", T("DSEX")},
        {"M", "IDREFECALCPARC", T("fora_mes"), "", "fora mês", T("fora_mes")},
        {"M", "IDCONSDIAUTIL", kNull, "", "", T("S")},
        {"M", "IDCONSDIAUTIL", T("n"), "Sim", "não", T("S")},
        {"M", "IDTPPERIODO", kNull, "", nullptr, kNull},
        {"M", "IDTPPERIODO", T("m"), "", "Por dia da semana/Mês", T("m")},
        {"S", "NRDIAINIPGTO", T("1"), "", "Sabado", T("1")},
        {"S", "NRDIAINIPGTO", T("08"), "", nullptr, kNull},
        {"S", "NRDIAFINPGTO", T("00"), "", nullptr, kNull},
        {"", "NRDIAFINPGTO", T("03"), "03", "12", T("03")},
        {"", "NRDIAPGTOVAR", T("10"), "10", "7", T("7")},
        {"S", "NRMESFORMPGT", 2.0, "Seguinte", "atual", 2.0},
        {"A", "NRMESFORMPGT", 0.0, "", nullptr, kNull},
        {"A", "NRMESFORMPGT", 1.5, "", nullptr, kNull},
        {"", "NRMESFORMPGT", 11.0, "", "Seguinte", 11.0},
        {"S", "NRDIAPGTOSEMANA", T("06"), "06", "Domingo", T("06")},
        {"M", "NRDIAPGTOSEMANA", T("06"), "Sexta", "Feriado", T("00")},
        {"M", "NRDIAPGTOSEMANA", T("00"), "", "Quinta", T("05")},
    };
    // clang-format on
    ASSERT_TRUE(IniProc());
    // A description cleared in the grid keeps the former one; blanks around one stay.
    for (const auto& [typed, stored] :
         {std::pair{"   ", "À vista"}, std::pair{"  Pix  ", "  Pix  "}}) {
        Select("dbgPadrao", "NMFORMPGTO");
        ASSERT_TRUE(Act([&] {
            Form().TypeText("x");
            Form().PressKey(plat::VK_BACK, {});
            Form().TypeText(typed);
            Form().PressKey(plat::VK_RETURN, {});
        }));
        EXPECT_EQ(Terms().FieldByName("NMFORMPGTO").AsString(), stored);
        ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    }
    // A new term and day row to write into, never sent: a period type set here deletes nothing.
    ASSERT_TRUE(Act([&] { Terms().Insert(); }));
    ASSERT_TRUE(Act([&] { Days().Insert(); }));
    // The field of the term or, failing that, of the day row, read under periodType.
    const auto Under = [&](const std::string& periodType, const std::string& name) -> auto& {
        Terms().FieldByName("IDTPPERIODO").SetValue(periodType);
        plat::TField* field = Terms().FindField(name);
        return field ? *field : Days().FieldByName(name);
    };
    for (const auto& c : others) {
        SCOPED_TRACE("row " + std::to_string(&c - others + 1));
        plat::TField& field = Under(c.periodType, c.field);
        field.SetValue(c.stored);
        EXPECT_EQ(field.DisplayText(), c.shown);
        EXPECT_EQ(field.Text(), c.shown);
        if (!c.typed) continue;
        field.SetText(c.typed);
        EXPECT_EQ(field.GetValue(), c.after);
    }
}

} // namespace
