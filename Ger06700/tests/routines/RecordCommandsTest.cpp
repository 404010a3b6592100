// The record commands: which of the five can be used, with their menu entries, when no grid
// is worked in and when the list is empty (the other states: every session's "commands"
// line); what delete and cancel act on, and when they ask.
#include "RoutineFixture.h"

namespace {

using ger06700::TfrmFormPgto;
using plat::TDataSetState;

/// The five record commands as "10001", button by button (their menu entries follow them in
/// every state a session shows).
std::string Commands(TfrmFormPgto& f) {
    std::string state;
    for (auto* b :
         {&f.sbtIncluir, &f.RecordCommand2(), &f.sbtExcluir, &f.RecordCommand4(), &f.sbtVerificar})
        state += b->Enabled() ? '1' : '0';
    return state;
}

TEST_F(RoutineTest, TheCommandsKeepTheirStateOutsideTheGridsAndFollowTheList) {
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();

    // A state change while neither the master grid nor a day grid has the focus leaves the
    // commands as they were.
    ASSERT_TRUE(Act([&] {
        form.RequestFocus(Grid("dbgPadrao"));
        form.HabilitaBotao();
        form.RequestFocus(Part<plat::TWinControl>("dbnPadrao"));
        form.cdsFormPgto.Edit();
    }));
    EXPECT_EQ(Commands(form), "11111");
    EXPECT_TRUE(form.ListDependentControl().Enabled());
    ASSERT_TRUE(Act([&] { form.cdsFormPgto.Cancel(); }));

    // Once every term is gone, only insert and reload remain, and the list-dependent control
    // is off.
    Write("DELETE FROM DIAPGTO");
    Write("DELETE FROM FORMPGTO");
    ASSERT_TRUE(Act([&] {
        form.RequestFocus(Grid("dbgPadrao"));
        form.sbtVerificarClick(form.sbtVerificar);
    }));
    EXPECT_EQ(form.cdsFormPgto.RecordCount(), 0);
    EXPECT_EQ(Commands(form), "10001");
    EXPECT_FALSE(form.ListDependentControl().Enabled());
}

// From the master grid in browse state: the term-commands session; from a day grid: the
// day-rows session.
TEST_F(RoutineTest, DeleteTakesTheTermOrTheDayRowByTheControlWorkedIn) {
    // The term, the control worked in, boTestaGrid, whether the term is being edited; the
    // questions asked, and the terms and day rows of the term left.
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
        WriteTerm(c.code, "Quinzenas", std::string("M"), {{"01", "15", "20"}, {"16", "31", "05"}});
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

// Cancel asks only when there is something to cancel (the question, No, and Yes for a term
// alone: the term-commands session); Yes for a term and its row goes back to what is stored,
// the highest final day read again and the cursor on the code.
TEST_F(RoutineTest, CancelAsksOnlyForATermBeingEditedAndGoesBackToWhatIsStored) {
    WriteTerm("40", "Quinzenas", std::string("M"), {{"01", "15", "20"}});
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
