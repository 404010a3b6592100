// Keys in the four grids as a user presses them: posting from the PeriodType cell, the
// protected code, and the characters each column takes.
#include "ScreenFixture.h"

namespace {

class KeyTest : public ScreenTest {
protected:
    std::string Term(const char* field) { return Terms().FieldByName(field).AsString(); }
    std::string Day(const char* field) { return Days().FieldByName(field).AsString(); }
};

TEST_F(KeyTest, MasterGridKeysWhileATermIsEdited) {
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

TEST_F(KeyTest, DetailGridsTakeOnlyWhatTheirColumnsHold) {
    WriteTerm("31", "Mensal", std::string("M"), {{"01", "10", "10"}});
    WriteTerm("32", "Semanal", std::string("S"), {{"01", "03", "03"}});
    WriteTerm("33", "Semana do mês", std::string("A"), {{"01", "10", "02"}});
    ASSERT_TRUE(IniProc());
    struct KeyCase {
        const char* term;
        const char* column;
        const char* typed;
        const char* stored; // the column's field afterwards
        const char* cell;   // the cell's text afterwards
    };
    const KeyCase cases[] = {
        {"31", "NRDIAFINPGTO", "a1", "10", "1"},
        {"31", "NRDIAPGTOSEMANA", "s", "07", "Sábado"},
        {"31", "NRDIAPGTOSEMANA", "d", "01", "Domingo"},
        {"31", "NRDIAPGTOSEMANA", "0", "00", ""},
        {"31", "NRDIAPGTOSEMANA", "1", "00", "1"},
        {"32", "NRDIAFINPGTO", "3", "03", "Terça"},
        {"32", "NRDIAINIPGTO", "9", "01", " "},
        {"33", "NRDIAPGTOVAR", "4", "04", "Quarta"},
        {"33", "NRDIAINIPGTO", "x", "01", "01"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " " + c.column + " '" + c.typed + "'");
        ASSERT_TRUE(Act([&] {
            if (Terms().FieldByName("CDFORMPGTO").AsString() != c.term)
                Terms().Locate("CDFORMPGTO", c.term, false);
            Form().RequestFocus(ViewGrid());
            Select(ViewGrid(), c.column);
            if (!plat::IsEditing(Days().State())) Days().Edit();
        }));
        const std::string before = Day(c.column);
        ASSERT_TRUE(Type(c.typed));
        EXPECT_EQ(Day(c.column), c.stored);
        EXPECT_EQ(ViewGrid().CurrentText(c.column), c.cell);
        // Ctrl+Delete does not delete the row.
        ASSERT_TRUE(Key(plat::VK_DELETE, {false, true, false}));
        EXPECT_TRUE(plat::Application().Headless().Transcript().empty());
        // Escape cancels the row and leaves it browsing in every grid.
        ASSERT_TRUE(Key(plat::VK_ESCAPE));
        EXPECT_EQ(Days().State(), plat::TDataSetState::Browse);
        EXPECT_EQ(Day(c.column), before);
        ClearLog();
    }
}

} // namespace
