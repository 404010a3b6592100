// The record commands: which of the five can be used, with their menu entries, when no grid
// is worked in and when the list is empty; what delete and cancel act on, and their questions.
#include "RoutineFixture.h"

namespace {

using ger06700::TfrmFormPgto;
using plat::TDataSetState;

/// The five record commands as "10001", button by button (their menu entries follow them in
/// every state a session shows).
std::string Commands(TfrmFormPgto& form) {
    std::string state;
    for (const plat::TSpeedButton* button :
         {&form.sbtIncluir, &form.RecordCommand2(), &form.sbtExcluir, &form.RecordCommand4(),
          &form.sbtVerificar})
        state += button->Enabled() ? '1' : '0';
    return state;
}

TEST_F(RoutineTest, TheCommandsKeepTheirStateOutsideTheGridsAndFollowTheList) {
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();

    // A state change while neither the master grid nor a day grid has the focus leaves the
    // commands as they were.
    ASSERT_TRUE(Act([&] {
        form.cdsDiaPgto.Cancel();
        form.cdsFormPgto.Cancel();
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

TEST_F(RoutineTest, DeleteTakesTheTermOrTheDayRowByTheControlWorkedIn) {
    struct Case {
        const char* code;
        const char* control;
        bool boTestaGridSet;
        bool editing; // the term is being edited
        plat::TModalResult answer;
        int questions;
        int termsLeft;
        int rowsLeft;
    };
    const auto Yes = plat::TModalResult::Yes, No = plat::TModalResult::No;
    const Case cases[] = {
        {"40", "dbgPadrao", false, false, Yes, 1, 0, 0}, // the term with its rows
        {"42", "dbgPadrao", true, true, Yes, 0, 1, 2},
        // The navigator works on the term only while the master grid is the one worked in.
        {"43", "dbnPadrao", true, false, Yes, 1, 0, 0},
        {"44", "dbnPadrao", false, false, Yes, 1, 1, 1},
        {"46", "dbgDiaPgto", false, false, No, 1, 1, 2}, // Yes: the day-rows session
    };
    for (const Case& c : cases)
        WriteTerm(c.code, "Quinzenas", std::string("M"), {{"01", "15", "20"}, {"16", "31", "05"}});
    // Rows as this screen stores them, so that the confirm run after a row's deletion passes.
    Write("UPDATE DIAPGTO SET NRNUMMESPGTO = 1");
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();
    plat::HeadlessDialogs& dialogs = plat::Application().Headless();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(Act([&] {
            form.cdsFormPgto.Locate("CDFORMPGTO", c.code, false);
            form.RequestFocus(Part<plat::TWinControl>(c.control));
            if (c.editing) form.cdsFormPgto.Edit();
        }));
        ger06700::boTestaGrid = c.boTestaGridSet;
        dialogs.ClearTranscript();
        if (c.questions) dialogs.QueueAnswer(c.answer);
        Act([&] { form.sbtExcluirClick(form.sbtExcluir); });
        EXPECT_EQ(static_cast<int>(dialogs.Transcript().size()), c.questions);
        if (c.questions) {
            EXPECT_EQ(dialogs.Transcript()[0].text, "Confirma exclusão?");
        }
        EXPECT_EQ(dialogs.PendingAnswers(), 0u);
        EXPECT_EQ(Sql("SELECT CDFORMPGTO FROM FORMPGTO WHERE CDFORMPGTO = ?", {c.code}).size(),
                  static_cast<std::size_t>(c.termsLeft));
        EXPECT_EQ(StoredDays(c.code).size(), static_cast<std::size_t>(c.rowsLeft));
        ASSERT_TRUE(Act([&] {
            if (form.cdsFormPgto.State() != plat::TDataSetState::Browse) form.cdsFormPgto.Cancel();
        }));
    }
}

// Cancel asks only when there is something to cancel (the question and No are also in the
// term-commands session); Yes goes back to what is stored, rows included.
TEST_F(RoutineTest, CancelAsksOnlyForATermBeingEditedAndGoesBackToWhatIsStored) {
    WriteTerm("40", "Quinzenas", std::string("M"), {{"01", "15", "20"}});
    ASSERT_TRUE(IniProc());
    TfrmFormPgto& form = Screen();
    plat::HeadlessDialogs& dialogs = plat::Application().Headless();
    const auto B = TDataSetState::Browse, E = TDataSetState::Edit;
    const auto Yes = plat::TModalResult::Yes, No = plat::TModalResult::No;
    const std::pair<bool, plat::TModalResult> cases[] = {{false, Yes}, {true, No}, {true, Yes}};
    for (const auto& [edited, answer] : cases) {
        SCOPED_TRACE(std::string(edited ? "term and row edited" : "nothing edited") +
                     (answer == Yes ? ", Yes" : ", No"));
        ASSERT_TRUE(Act([&] {
            if (form.cdsDiaPgto.State() != B) form.cdsDiaPgto.Cancel();
            if (form.cdsFormPgto.State() != B) form.cdsFormPgto.Cancel();
            form.cdsFormPgto.Locate("CDFORMPGTO", "40", false);
            form.RequestFocus(Grid("dbgPadrao"));
            Select(Grid("dbgPadrao"), "NMFORMPGTO");
            if (edited) {
                form.cdsFormPgto.Edit();
                form.cdsFormPgtoNMFORMPGTO.SetAsString("Outro nome");
                form.cdsDiaPgto.Edit();
                form.cdsDiaPgtoNRDIAFINPGTO.SetAsString("31");
            }
        }));
        // Another user's row changes the highest final day that a full cancel reads again.
        Write("UPDATE DIAPGTO SET NRDIAFINPGTO = '20' WHERE CDFORMPGTO = '40'");
        dialogs.ClearTranscript();
        if (edited) dialogs.QueueAnswer(answer);
        ClearLog();
        ASSERT_TRUE(Act([&] { form.sbtCancelarClick(form.sbtCancelar); }));
        ASSERT_EQ(dialogs.Transcript().size(), edited ? 1u : 0u);
        if (edited) {
            EXPECT_EQ(dialogs.Transcript()[0].text, "Cancelar operação?");
        }
        const bool kept = edited && answer == No;
        EXPECT_EQ(form.cdsFormPgto.State(), kept ? E : B);
        EXPECT_EQ(form.cdsDiaPgto.State(), kept ? E : B);
        EXPECT_EQ(form.cdsFormPgtoNMFORMPGTO.AsString(), kept ? "Outro nome" : "Quinzenas");
        if (edited) {
            EXPECT_EQ(form.cdsDiaPgtoNRDIAFINPGTO.AsString(), kept ? "31" : "20");
            // Only the full cancel reads the highest final day again and goes back to the code.
            EXPECT_EQ(Inspect("stMaxDiaFin"), kept ? "15" : "20");
            EXPECT_EQ(Column(Grid("dbgPadrao")), kept ? "NMFORMPGTO" : "CDFORMPGTO");
        }
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(form.cdsDiaPgto.ChangeCount(), 0);
        Write("UPDATE DIAPGTO SET NRDIAFINPGTO = '15' WHERE CDFORMPGTO = '40'");
    }
}

} // namespace
