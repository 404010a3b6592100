// The record commands: which of the five can be used when no grid is worked in (with an empty
// list: the grid-focus test; the other states: every session's "commands" line), what delete
// and cancel act on, and when they ask.
#include "RoutineFixture.h"

namespace {

using ger06700::TfrmFormPgto;
using plat::TDataSetState;

TEST_F(RoutineTest, TheCommandsKeepTheirStateOutsideTheGrids) {
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();
    ASSERT_TRUE(Act([&] {
        form.RequestFocus(Grid("dbgPadrao"));
        form.HabilitaBotao();
        form.RequestFocus(Part<plat::TWinControl>("dbnPadrao"));
        form.cdsFormPgto.Edit();
    }));
    // The edit started with the navigator focused: the commands stay as they were.
    for (auto* b : {&form.sbtIncluir, &form.RecordCommand2(), &form.sbtExcluir,
                    &form.RecordCommand4(), &form.sbtVerificar})
        EXPECT_TRUE(b->Enabled()) << b->Name();
    ASSERT_TRUE(Act([&] { form.cdsFormPgto.Cancel(); }));
}

// From the master grid in browse state, and from a day grid: term-commands, day-rows.
TEST_F(RoutineTest, DeleteTakesTheTermOrTheDayRowByTheControlWorkedIn) {
    // Term, control worked in, boTestaGrid, term in edit; questions, terms and rows left.
    const struct {
        const char *code, *control;
        bool boTestaGridSet, editing;
        int questions;
        std::size_t termsLeft, rowsLeft;
    } cases[] = {
        {"42", "dbgPadrao", true, true, 0, 1, 2},
        // The navigator works on the term only while the master grid is the one worked in.
        {"43", "dbnPadrao", true, false, 1, 0, 0},
        {"44", "dbnPadrao", false, false, 1, 1, 1},
    };
    for (const auto& c : cases)
        WriteTerm(c.code, "Quinzenas", "M", {{"01", "15", "20"}, {"16", "31", "05"}});
    // Rows as this screen stores them, so that the confirm run after a row's deletion passes.
    Write("UPDATE DIAPGTO SET NRNUMMESPGTO = 1");
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();
    plat::HeadlessDialogs& dialogs = plat::Application().Headless();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(Act([&] {
            form.cdsFormPgto.Locate("CDFORMPGTO", c.code, false);
            form.RequestFocus(Part<plat::TWinControl>(c.control));
            if (c.editing) form.cdsFormPgto.Edit();
        }));
        ger06700::boTestaGrid = c.boTestaGridSet;
        dialogs.ClearTranscript();
        if (c.questions) dialogs.QueueAnswer(plat::TModalResult::Yes);
        Act([&] { form.sbtExcluirClick(form.sbtExcluir); });
        EXPECT_EQ(static_cast<int>(dialogs.Transcript().size()), c.questions);
        EXPECT_EQ(Sql("SELECT CDFORMPGTO FROM FORMPGTO WHERE CDFORMPGTO = ?", {c.code}).size(),
                  c.termsLeft);
        EXPECT_EQ(StoredDays(c.code).size(), c.rowsLeft);
        ASSERT_TRUE(Act([&] {
            if (form.cdsFormPgto.State() != TDataSetState::Browse) form.cdsFormPgto.Cancel();
        }));
    }
}

// Cancel asks only when there is something to cancel (a term alone: term-commands); Yes for a
// term and its row goes back to what is stored, highest final day and cursor on the code.
TEST_F(RoutineTest, CancelAsksOnlyForATermBeingEditedAndGoesBackToWhatIsStored) {
    WriteTerm("40", "Quinzenas", "M", {{"01", "15", "20"}});
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();
    plat::HeadlessDialogs& dialogs = plat::Application().Headless();
    ASSERT_TRUE(Act([&] {
        form.cdsFormPgto.Locate("CDFORMPGTO", "40", false);
        form.RequestFocus(Grid("dbgPadrao"));
        Select(Grid("dbgPadrao"), "NMFORMPGTO");
    }));
    ClearLog();
    ASSERT_TRUE(Act([&] { form.sbtCancelarClick(form.sbtCancelar); }));
    EXPECT_TRUE(dialogs.Transcript().empty());
    ASSERT_TRUE(Act([&] {
        form.cdsFormPgto.Edit();
        form.cdsFormPgtoNMFORMPGTO.SetAsString("Outro nome");
        form.cdsDiaPgto.Edit();
        form.cdsDiaPgtoNRDIAFINPGTO.SetAsString("31");
    }));
    // Another user's change to the row, which only the full cancel reads again.
    Write("UPDATE DIAPGTO SET NRDIAFINPGTO = '20' WHERE CDFORMPGTO = '40'");
    dialogs.QueueAnswer(plat::TModalResult::Yes);
    ASSERT_TRUE(Act([&] { form.sbtCancelarClick(form.sbtCancelar); }));
    EXPECT_EQ(dialogs.Transcript().size(), 1u);
    EXPECT_EQ(form.cdsDiaPgto.State(), TDataSetState::Browse);
    EXPECT_EQ(form.cdsFormPgtoNMFORMPGTO.AsString(), "Quinzenas");
    EXPECT_EQ(form.cdsDiaPgtoNRDIAFINPGTO.AsString(), "20");
    EXPECT_EQ(form.cdsDiaPgto.ChangeCount(), 0);
    EXPECT_EQ(Inspect("stMaxDiaFin"), "20");
    EXPECT_EQ(Column(Grid("dbgPadrao")), "CDFORMPGTO");
}

} // namespace
